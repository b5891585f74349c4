#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringEncoder>

namespace {

bool number(const QCommandLineParser& parser, const QString& name, int* value, QString* error) {
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int parsed = parser.value(name).toInt(&ok);
    if (!ok || parsed < 0) {
        *error = QStringLiteral("Valore non valido per --%1: \"%2\" (serve un numero intero "
                                "da 0 in su).")
                     .arg(name, parser.value(name));
        return false;
    }
    *value = parsed;
    return true;
}

// The identifier travels as the same 8-bit characters the program sends,
// which shows its texts as Windows-1252.
bool identifier(const QString& text, QByteArray* bytes, QString* error) {
    QStringEncoder encoder("windows-1252");
    *bytes = encoder.encode(text);
    if (encoder.hasError()) {
        *error = QStringLiteral("L'identificativo \"%1\" contiene caratteri che la linea "
                                "seriale non può trasmettere.")
                     .arg(text);
        return false;
    }
    return true;
}

} // namespace

bool parseCommandLine(const QCoreApplication& app, CommandLine* result, QString* error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Unità Tarvo simulata: apre un terminale virtuale, ne stampa il percorso sulla prima "
        "riga (e come collegamento stabile, che tarvodisp elenca fra le porte presenti) e risponde "
        "ai comandi di test, scrittura e lettura dei testi come un'unità "
        "vera. Si chiude con Ctrl+C (SIGINT) o SIGTERM."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {"id", "Identificativo dell'unità (predefinito &C1).", "identificativo"},
        {"baud", "Simula i tempi di una linea a questa velocità (0: nessun ritardo).", "N"},
        {"delay", "Ritardo aggiunto prima di ogni risposta, in millisecondi.", "ms"},
        {"silent-from", "Dalla N-esima trama ricevuta in poi l'unità non risponde più.", "N"},
        {"refuse-write", "Dalla N-esima trama di scrittura in poi ogni scrittura viene rifiutata.",
         "N"},
        {"garble", "Risposte della lunghezza giusta ma con caratteri sbagliati."},
        {"short", "Risposte tagliate a metà (il ritorno a capo finale resta)."},
        {"echo", "Rimanda subito ogni byte ricevuto, come un adattatore RS-485 a due fili "
                 "senza soppressione dell'eco."},
        {"adapter-latency",
         "Trattiene le risposte come un adattatore USB con questo timer di latenza, in "
         "millisecondi (un FTDI ne usa 16).",
         "ms"},
        {"link",
         "Nome del collegamento stabile alla porta nella cartella delle unità simulate "
         "(predefinito: il primo libero fra tarvo-1, tarvo-2, ...).",
         "nome"},
        {"memory", "Carica la memoria da questo file (va bene un file .tvo).", "file"},
        {"dump", "All'uscita scrive la memoria in questo file (512 righe).", "file"},
        {"tcp",
         "Offre l'unità anche in rete su 127.0.0.1 a questa porta TCP (0: una porta libera), "
         "come un server seriale: in tarvodisp e tarvo-cli la porta tcp://127.0.0.1:PORTA. "
         "Un cliente alla volta: un secondo viene chiuso subito.",
         "porta"},
    });
    parser.process(app);

    CommandLine line;
    line.options.keepFrames = false;
    line.options.publishLink = true;
    line.options.linkName = parser.value("link");
    if (parser.isSet("id") && !identifier(parser.value("id"), &line.options.identifier, error))
        return false;
    if (!number(parser, "baud", &line.options.baud, error) ||
        !number(parser, "delay", &line.options.replyDelayMs, error) ||
        !number(parser, "silent-from", &line.options.silentFrom, error) ||
        !number(parser, "refuse-write", &line.options.refuseWriteFrom, error) ||
        !number(parser, "adapter-latency", &line.options.adapterLatencyMs, error) ||
        !number(parser, "tcp", &line.tcpPort, error))
        return false;
    if (line.tcpPort > 65535) {
        *error = QStringLiteral("Valore non valido per --tcp: \"%1\" (serve una porta da 0 a "
                                "65535).")
                     .arg(line.tcpPort);
        return false;
    }
    line.options.garble = parser.isSet("garble");
    line.options.shortReplies = parser.isSet("short");
    line.options.echo = parser.isSet("echo");
    line.options.memoryFile = parser.value("memory");
    line.dumpFile = parser.value("dump");
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("Argomenti non previsti: %1")
                     .arg(parser.positionalArguments().join(' '));
        return false;
    }
    *result = line;
    return true;
}
