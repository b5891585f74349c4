#pragma once

#include "ui/common/SaveWindowOpener.h"

#include <functional>

class LineTrace;
class QWidget;
class SerialExchange;
struct Variabili;

// The windows the main window opens, each made by the room that holds it. The
// program puts them together at startup, so that the main window need not
// know them and no room includes another's files.
struct WindowOpeners {
    // The save window, modal, for what reading all texts offers.
    SaveWindowOpener save;
    // The editor on FileSelezionato, modal; it saves through the save window.
    std::function<void(QWidget* parent)> editor;
    // Makes the line trace window over the exchange's trace, owned by parent.
    std::function<QWidget*(const LineTrace& trace, QWidget* parent)> lineTrace;
    // Runs the line diagnosis in its window, made once over parent; returns
    // once the finding is shown.
    std::function<void(Variabili& v, SerialExchange& exchange, QWidget* parent)> lineDiagnosis;
};
