#pragma once

#include "ui/common/SaveWindowOpener.h"

#include <QByteArray>
#include <QString>

#include <functional>

class LineTrace;
class QWidget;
class SerialExchange;
struct Variabili;

// What the copies window's commands do with the path of the copy selected.
struct CopyCommands {
    std::function<void(const QString&)> openInEditor;
    std::function<void(const QString&)> compareWithUnit;
    std::function<void(const QString&)> putBack;
};

// The window of the program's copies, as the main window drives it.
class CopiesView {
  public:
    virtual ~CopiesView() = default;
    // Shows it above the others, its list read again.
    virtual void present() = 0;
    // Reads the copies folder again, after a run that may have added a copy.
    virtual void refresh() = 0;
    // Its commands are off while any operation runs, as the main window's.
    virtual void setCommandsEnabled(bool enabled) = 0;
    // Asks before a copy of the unit copyUnit goes back into the unit
    // addressed as unit; false unless the operator chooses to write.
    virtual bool confirmAnotherUnit(const QByteArray& copyUnit, const QByteArray& unit) = 0;
};

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
    // Makes the copies window, owned by parent, with what its commands do.
    std::function<CopiesView*(CopyCommands commands, QWidget* parent)> unitCopies;
};
