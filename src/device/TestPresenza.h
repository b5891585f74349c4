#pragma once

struct Variabili;
class FormSeriale;
class FormScriveMessaggi;

// Sends one test frame and tells in the main window's lower status box whether
// a unit with the current identifier answers on the chosen port. Leaves the
// window's commands enabled.
void TestaPresenza(Variabili& v, FormSeriale& seriale, FormScriveMessaggi& finestra);
