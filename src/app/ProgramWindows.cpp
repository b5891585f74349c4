#include "app/ProgramWindows.h"

#include "ui/copies/UnitCopiesWindow.h"
#include "ui/diagnosis/LineDiagnosisWindow.h"
#include "ui/editor/EditaMessaggi.h"
#include "ui/save/FormSalvaFile.h"
#include "ui/trace/LineTraceWindow.h"

#include <QPointer>

WindowOpeners programWindows(Variabili& v) {
    WindowOpeners openers;
    openers.save = saveWindowOpener(v);
    openers.editor = [&v, save = openers.save](QWidget* parent) {
        EditaMessaggi editor(v, save, parent);
        editor.showModal();
    };
    openers.lineTrace = [](const LineTrace& trace, QWidget* parent) -> QWidget* {
        return new LineTraceWindow(trace, parent);
    };
    openers.lineDiagnosis = [window = QPointer<LineDiagnosisWindow>()](
                                Variabili& v, SerialExchange& exchange, QWidget* parent) mutable {
        if (!window)
            window = new LineDiagnosisWindow(parent);
        window->run(v, exchange);
    };
    openers.unitCopies = [](CopyCommands commands, QWidget* parent) -> CopiesView* {
        return new UnitCopiesWindow(std::move(commands), parent);
    };
    return openers;
}
