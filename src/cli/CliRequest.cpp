#include "cli/CliRequest.h"

#include "core/Windows1252.h"

#include <QCommandLineParser>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// The bytes of an argument as the windows would keep them; nullopt when it
// holds a character that Windows-1252 cannot.
std::optional<QByteArray> bytesOf(const QString& text, const QString& what, QString& error) {
    std::optional<QByteArray> bytes = Windows1252::encode(text);
    if (!bytes)
        error = QStringLiteral("il carattere %1 non si può usare %2")
                    .arg(Windows1252::firstUnencodable(text), what);
    return bytes;
}

} // namespace

CliRequest CliRequest::parse(const QStringList& arguments) {
    CliRequest request;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption portOption(QStringLiteral("porta"), {}, QStringLiteral("PORTA"));
    const QCommandLineOption identifierOption(QStringLiteral("id"), {}, QStringLiteral("ID"));
    const QCommandLineOption commentOption(QStringLiteral("commento"), {}, QStringLiteral("TESTO"));
    const QCommandLineOption copyOption(QStringLiteral("copia"), {}, QStringLiteral("COPIA"));
    const QCommandLineOption onlyDifferingOption(QStringLiteral("solo-diversi"));
    const QCommandLineOption echoOption(QStringLiteral("eco"));
    const QCommandLineOption tryIdentifierOption(QStringLiteral("prova-id"), {},
                                                 QStringLiteral("ID"));
    const QCommandLineOption autoCopyOption(QStringLiteral("copia-auto"));
    const QCommandLineOption anotherUnitOption(QStringLiteral("anche-altra-unita"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({portOption, identifierOption, commentOption, copyOption, onlyDifferingOption,
                       autoCopyOption, echoOption, tryIdentifierOption, anotherUnitOption, help,
                       version});
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        request.error =
            unknown.isEmpty()
                ? QStringLiteral("un'opzione è senza valore (%1)").arg(parser.errorText())
                : QStringLiteral("opzione sconosciuta: %1").arg(unknown.first());
        return request;
    }
    if (parser.isSet(help)) {
        request.action = Action::Help;
        return request;
    }
    if (parser.isSet(version)) {
        request.action = Action::Version;
        return request;
    }

    const QStringList words = parser.positionalArguments();
    const QString operation = words.value(0);
    static const QList<std::pair<QString, Action>> operations{
        {QStringLiteral("test"), Action::PresenceTest},
        {QStringLiteral("invia"), Action::Program},
        {QStringLiteral("leggi"), Action::ReadAll},
        {QStringLiteral("confronta"), Action::Compare},
        {QStringLiteral("diagnosi"), Action::Diagnosis},
        {QStringLiteral("ripristina"), Action::Restore},
        {QStringLiteral("copie"), Action::ListCopies},
    };
    const auto named = std::find_if(operations.begin(), operations.end(),
                                    [&](const auto& entry) { return entry.first == operation; });
    if (named == operations.end()) {
        request.error = operation.isEmpty()
                            ? QStringLiteral("manca l'operazione: test, invia, leggi, confronta, "
                                             "diagnosi, ripristina o copie")
                            : QStringLiteral("operazione sconosciuta: %1 (test, invia, leggi, "
                                             "confronta, diagnosi, ripristina o copie)")
                                  .arg(operation);
        return request;
    }
    request.action = named->second;
    const bool withoutFile = request.action == Action::PresenceTest ||
                             request.action == Action::Diagnosis ||
                             request.action == Action::ListCopies;
    if (withoutFile && words.size() > 1) {
        request.error = QStringLiteral("%1 non vuole altri argomenti").arg(operation);
        return request;
    }
    if (request.action == Action::Restore && words.size() > 2) {
        request.error = QStringLiteral("ripristina vuole al più il nome di una copia .tvo");
        return request;
    }
    if (!withoutFile && request.action != Action::Restore && words.size() != 2) {
        request.error = QStringLiteral("%1 vuole il nome di un file .tvo").arg(operation);
        return request;
    }
    request.lineEchoes = parser.isSet(echoOption);
    if (parser.isSet(tryIdentifierOption) && request.action != Action::Diagnosis) {
        request.error = QStringLiteral("--prova-id vale solo per diagnosi");
        return request;
    }
    for (const QString& identifier : parser.values(tryIdentifierOption)) {
        const auto bytes = bytesOf(identifier, QStringLiteral("in --prova-id"), request.error);
        if (!bytes)
            return request;
        request.moreIdentifiers += *bytes;
    }
    request.file = words.value(1);
    if (request.action == Action::ReadAll &&
        request.file.right(4).toLower() != QStringLiteral(".tvo")) {
        request.error = QStringLiteral("il file da scrivere deve avere estensione .tvo");
        return request;
    }
    request.copyFile = parser.value(copyOption);
    request.onlyDiffering = parser.isSet(onlyDifferingOption);
    request.autoCopy = parser.isSet(autoCopyOption);
    if ((parser.isSet(copyOption) || request.onlyDiffering || request.autoCopy) &&
        request.action != Action::Program) {
        request.error =
            QStringLiteral("--copia, --copia-auto e --solo-diversi valgono solo per invia");
        return request;
    }
    if (parser.isSet(copyOption) && request.autoCopy) {
        request.error = QStringLiteral("--copia e --copia-auto non vanno insieme: una copia sola");
        return request;
    }
    if (parser.isSet(copyOption) && request.copyFile.right(4).toLower() != QStringLiteral(".tvo")) {
        request.error = QStringLiteral("la copia deve avere estensione .tvo");
        return request;
    }
    request.anotherUnit = parser.isSet(anotherUnitOption);
    if (request.anotherUnit && request.action != Action::Restore) {
        request.error = QStringLiteral("--anche-altra-unita vale solo per ripristina");
        return request;
    }
    request.commentGiven = parser.isSet(commentOption);
    if (request.commentGiven && request.action != Action::ReadAll && request.copyFile.isEmpty()) {
        request.error = QStringLiteral("--commento vale solo per leggi e per invia --copia");
        return request;
    }
    if (!parser.isSet(portOption) && request.action != Action::ListCopies) {
        request.error = QStringLiteral("manca --porta (il numero della porta, il percorso del "
                                       "dispositivo o tcp://HOST:PORTA)");
        return request;
    }

    const auto portBytes =
        bytesOf(parser.value(portOption), QStringLiteral("nella porta"), request.error);
    request.identifierGiven = parser.isSet(identifierOption);
    const auto identifierBytes = request.identifierGiven
                                     ? bytesOf(parser.value(identifierOption),
                                               QStringLiteral("nell'identificativo"), request.error)
                                     : std::optional<QByteArray>(request.identifier);
    const auto commentBytes =
        bytesOf(parser.value(commentOption), QStringLiteral("nel commento"), request.error);
    if (portBytes && identifierBytes && commentBytes) {
        request.port = *portBytes;
        request.identifier = *identifierBytes;
        request.comment = *commentBytes;
    }
    return request;
}

// Ports and stop requests as each system names them.
#ifdef Q_OS_WIN
#define PORT_OPTION_HELP                                                                           \
    "  --porta PORTA     numero della porta COM (1 è COM1) o suo nome, per esempio\n"             \
    "                    COM3 o \\\\.\\COM10; tcp://HOST:PORTA per un server seriale in\n"         \
    "                    rete (ser2net o un convertitore Ethernet-seriale: velocità\n"            \
    "                    e parità le imposta il server)\n"
#define STOP_REQUESTS_HELP                                                                         \
    "da Ctrl+C, Ctrl+Interr, chiusura della console fra uno scambio e l'altro, con\n"              \
    "la porta chiusa.\n"
#else
#define PORT_OPTION_HELP                                                                           \
    "  --porta PORTA     numero della porta COM (1 è /dev/ttyS0) o percorso del\n"                \
    "                    dispositivo, per esempio /dev/ttyUSB0; tcp://HOST:PORTA\n"                \
    "                    per un server seriale in rete (ser2net o un convertitore\n"               \
    "                    Ethernet-seriale: velocità e parità le imposta il server)\n"
#define STOP_REQUESTS_HELP                                                                         \
    "da Ctrl+C, SIGTERM, SIGHUP fra uno scambio e l'altro, con la porta chiusa.\n"
#endif

QString CliRequest::helpText() {
    return QStringLiteral(
        "Uso:\n"
        "  tarvo-cli --porta PORTA [--id ID] test\n"
        "  tarvo-cli --porta PORTA [--id ID] invia FILE.tvo [--solo-diversi]\n"
        "                                      [--copia COPIA.tvo [--commento TESTO] |\n"
        "                                       --copia-auto]\n"
        "  tarvo-cli --porta PORTA [--id ID] leggi FILE.tvo [--commento TESTO]\n"
        "  tarvo-cli --porta PORTA [--id ID] confronta FILE.tvo\n"
        "  tarvo-cli --porta PORTA [--id ID] [--prova-id ID ...] diagnosi\n"
        "  tarvo-cli --porta PORTA [--id ID] ripristina [COPIA.tvo] [--anche-altra-unita]\n"
        "  tarvo-cli [--id ID] copie\n"
        "\n"
        "Le operazioni di tarvodisp senza finestra:\n"
        "  test       controlla che l'unità risponda\n"
        "  invia      scrive i testi del file nell'unità e li rilegge per verificarli\n"
        "  leggi      legge i 512 testi dell'unità e li salva nel file (solo a lettura\n"
        "             completa)\n"
        "  confronta  legge dall'unità gli indirizzi del file e mostra quelli con un\n"
        "             testo diverso (testo del file, testo dell'unità); non scrive nulla\n"
        "  diagnosi   cerca perché l'unità non risponde (al massimo 20 s): nessun byte,\n"
        "             risposta in ritardo, linea con eco, altro identificativo, byte\n"
        "             senza senso; non scrive nulla\n"
        "  ripristina rimette nell'unità la copia data, se no la più recente delle copie\n"
        "             del programma con l'identificativo: prima ne fa una copia nuova,\n"
        "             poi scrive solo i testi diversi e li rilegge; la copia di un'altra\n"
        "             unità solo con --anche-altra-unita\n"
        "  copie      elenca le copie del programma, dalla più recente, una per riga:\n"
        "             data e ora, identificativo, porta, percorso, separati da\n"
        "             tabulazioni; con --id solo quelle di quell'identificativo;\n"
        "             se non ce n'è, lo dice sullo standard error\n"
        "\n"
        "Opzioni:\n" PORT_OPTION_HELP
        "  --id ID           identificativo dell'unità (predefinito &C1)\n"
        "  --commento TESTO  prima riga del file scritto da leggi o della copia\n"
        "  --copia COPIA.tvo invia: prima di scrivere legge i 512 testi dell'unità e li\n"
        "                    salva nella copia; se la copia non riesce non scrive nulla\n"
        "  --solo-diversi    invia: scrive solo i testi diversi da quelli dell'unità e\n"
        "                    rilegge solo quelli\n"
        "  --copia-auto      invia: come --copia, ma la copia va fra le copie del\n"
        "                    programma, come la fa la finestra\n"
        "  --eco             la linea ripete ogni trama (adattatore RS-485 a due fili\n"
        "                    senza soppressione dell'eco): ogni trama tornata viene tolta\n"
        "                    prima di leggere la risposta\n"
        "  --prova-id ID     diagnosi: prova anche questo identificativo, oltre a &C0-&C9\n"
        "                    (si può ripetere)\n"
        "  --anche-altra-unita\n"
        "                    ripristina: rimette anche la copia di un'unità con un altro\n"
        "                    identificativo (senza, è rifiutata prima di ogni trama)\n"
        "  --help            questo aiuto\n"
        "  --version         la versione\n"
        "\n"
        "Uscita: 0 riuscita; 1 l'unità non risponde, rifiuta una scrittura o rilegge\n"
        "testi diversi, confronta trova testi diversi, o diagnosi trova altro che\n"
        "un'unità che risponde; 2 uso sbagliato, porta che non si apre, file che non\n"
        "si legge o non si scrive, nessuna copia da rimettere, copia di un'altra\n"
        "unità; 130, 143, 129 fermato\n" STOP_REQUESTS_HELP "L'avanzamento va sullo standard error "
        "quando è un terminale.\n");
}
