#include "CommandLine.h"
#include "NetworkPort.h"
#include "SignalFd.h"
#include "SimulatedUnit.h"
#include "core/QtItalian.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QStringDecoder>
#include <QTextStream>

int main(int argc, char* argv[]) {
    // Before anything can start a thread, so that every thread blocks them.
    SignalFd stopSignals({SIGINT, SIGTERM});
    QCoreApplication app(argc, argv);
    installQtItalian(app);
    app.setApplicationName(QStringLiteral("tarvo-sim"));
    app.setApplicationVersion(QStringLiteral(TARVO_SIM_VERSION));
    QTextStream err(stderr);

    CommandLine line;
    QString error;
    if (!parseCommandLine(app, &line, &error)) {
        err << "tarvo-sim: " << error << Qt::endl;
        return 2;
    }
    SimulatedUnit unit(line.options);
    if (!unit.start(&error)) {
        err << "tarvo-sim: " << error << Qt::endl;
        return 1;
    }
    NetworkPort networkPort(unit.devicePath());
    if (line.tcpPort >= 0 && !networkPort.listen(quint16(line.tcpPort), &error)) {
        err << "tarvo-sim: " << error << Qt::endl;
        return 1;
    }
    QSocketNotifier stopRequested(stopSignals.fd(), QSocketNotifier::Read);
    QObject::connect(&stopRequested, &QSocketNotifier::activated, &app, [&] {
        if (stopSignals.take() != 0)
            app.quit();
    });

    QTextStream out(stdout);
    out << unit.devicePath() << Qt::endl;
    if (line.tcpPort >= 0)
        out << networkPort.url() << Qt::endl;
    out << "Unità Tarvo simulata con identificativo \""
        << QString(QStringDecoder("windows-1252").decode(line.options.identifier))
        << "\" in ascolto su questo percorso; Ctrl+C per terminare." << Qt::endl;
    out << "In tarvodisp si sceglie dalla lista delle porte (Alt+Giù nella casella Porta COM) "
           "come "
        << unit.linkPath() << Qt::endl;
    if (line.tcpPort >= 0)
        out << "In rete, come un server seriale, su " << networkPort.url()
            << " (un cliente alla volta)." << Qt::endl;

    app.exec();
    if (!line.dumpFile.isEmpty() && !unit.saveMemory(line.dumpFile, &error)) {
        err << "tarvo-sim: " << error << Qt::endl;
        return 1;
    }
    return 0;
}
