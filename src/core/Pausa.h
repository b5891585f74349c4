#pragma once

struct Variabili;

// Waits the given number of milliseconds while the windows and the serial port
// go on receiving their events. Ends early when the program is closing.
void Pausa(Variabili& v, const int& milliseconds);
