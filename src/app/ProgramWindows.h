#pragma once

#include "ui/common/WindowOpeners.h"

struct Variabili;

// The program's windows as the main window opens them.
WindowOpeners programWindows(Variabili& v);
