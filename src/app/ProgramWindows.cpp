#include "app/ProgramWindows.h"

#include "ui/editor/EditaMessaggi.h"
#include "ui/save/FormSalvaFile.h"
#include "ui/trace/LineTraceWindow.h"

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
    return openers;
}
