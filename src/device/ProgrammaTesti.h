#pragma once

struct Variabili;
class FormSeriale;
class FormScriveMessaggi;

// Sends the records of FileSelezionato to the unit, then reads every one back
// and compares it. Failures end with the error acknowledgement.
void ProgrammaTesti(Variabili& v, FormSeriale& seriale, FormScriveMessaggi& finestra);
