#include "app/Startup.h"

#include "app/ProgramWindows.h"
#include "app/SignalStopLine.h"
#include "core/EventWait.h"
#include "core/StopSignals.h"
#include "core/Variabili.h"
#include "ui/main/FormScriveMessaggi.h"
#include "ui/serial/FormSeriale.h"

#include <QApplication>

#include <memory>

namespace Startup {

int run(Variabili& v, std::FILE* errors) {
    // The name the system lists the program under. The display name is left
    // unset, since the platform would append it to every window's caption.
    QCoreApplication::setApplicationName(QStringLiteral("Tarvodisp programmazione scritte"));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    v.Identificativo = "&C1";

    // Loaded, never shown: it only hosts the serial port.
    auto serialHost = std::make_unique<FormSeriale>(v);
    auto mainWindow =
        std::make_unique<FormScriveMessaggi>(v, serialHost->exchange(), programWindows(v));
    // A logout, Ctrl+C in the terminal that started it or a request to end
    // (SIGHUP, SIGINT, SIGTERM) closes the main window as its close box would,
    // once any exchange under way has ended; the running operation stops at
    // its next wait and gives the port back.
    StopSignals stop(v);
    bool runStopped = false;
    QObject::connect(&stop, &StopSignals::stopping, mainWindow.get(), [&] {
        runStopped = mainWindow->operationRunning();
        mainWindow->close();
    });
    mainWindow->show();
    mainWindow->activateWindow();
    EventWait::until([&mainWindow] { return mainWindow->isHidden(); });
    const std::optional<RunProgress> stoppedAt = mainWindow->lastRunProgress();

    // Both ways out of the main window set Stato to "Finisci"; the shutdown
    // follows in any case.
    mainWindow->unload();
    mainWindow.reset();
    serialHost->close();
    serialHost.reset();
    // A run cut short ends as tarvo-cli's does, once the port is given back:
    // where it stopped on standard error, and the status shells give a
    // program ended by that signal. Idle, the window just closes.
    if (runStopped) {
        std::fputs(qPrintable(signalStopLine(stop.received(), stoppedAt) + QLatin1Char('\n')),
                   errors);
        return 128 + stop.received();
    }
    return 0;
}

int run() {
    Variabili v;
    return run(v);
}

} // namespace Startup
