#pragma once

struct Variabili;
class FormSeriale;
class FormScriveMessaggi;

// Reads the texts at addresses 000 to 511 and offers them in the save window.
// Disables and re-enables the main window's commands itself.
void LeggiTuttiITesti(Variabili& v, FormSeriale& seriale, FormScriveMessaggi& finestra);
