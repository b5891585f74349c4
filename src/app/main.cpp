#include "app/Startup.h"
#include "core/QtItalian.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    installQtItalian(app);
    app.setApplicationVersion(QStringLiteral(TARVO_VERSION));
    // Everything is done from the window: the parser only answers --help and
    // --version, or refuses an unknown option, and then exits.
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Programmazione scritte Tarvo: scrive i testi dei messaggi di un'unità Tarvo attraverso "
        "la linea seriale, li rilegge per verificarli e li modifica nei file .tvo. Tutto si fa "
        "dalla finestra; tarvo-cli fa le stesse operazioni da uno script."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
    return Startup::run();
}
