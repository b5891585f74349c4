#pragma once

struct Variabili;

// Writes NumeroDaFormattare (0 to 599) as three digits with leading zeros into
// NumeroFormattato. Numbers outside that range give their last three digits.
void TreCifre(Variabili& v);
