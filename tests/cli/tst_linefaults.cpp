#include "CliProcess.h"
#include "MessageFiles.h"
#include "NetworkPort.h"
#include "SimulatedUnit.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// tarvo-cli against simulated units with the faults a line has in the field:
// what the diagnosis finds, and programming through a line that echoes.
class TestLineFaults : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;

  private slots:
    void diagnosisFindings_data() {
        QTest::addColumn<SimulatedUnit::Options>("options");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("finding");
        // Through tarvo-sim's network port rather than its pseudo-terminal.
        QTest::addColumn<bool>("network");
        const SimulatedUnit::Options healthy;
        SimulatedUnit::Options late;
        late.replyDelayMs = 1500;
        SimulatedUnit::Options justLate;
        justLate.replyDelayMs = 900;
        // Its reply to the read comes during the test frame's wait.
        SimulatedUnit::Options beyondTheLongWait;
        beyondTheLongWait.replyDelayMs = 3500;
        SimulatedUnit::Options echoingSilent;
        echoingSilent.echo = true;
        echoingSilent.silentFrom = 1;
        SimulatedUnit::Options echoing;
        echoing.echo = true;
        SimulatedUnit::Options otherIdentifier;
        otherIdentifier.identifier = "&C4";
        SimulatedUnit::Options unlisted;
        unlisted.identifier = "X9";
        SimulatedUnit::Options silent;
        silent.silentFrom = 1;
        SimulatedUnit::Options garbling;
        garbling.garble = true;
        QTest::newRow("answers") << healthy << QStringList() << 0
                                 << QStringLiteral("L'unità &C1 risponde in ") << false;
        QTest::newRow("late") << late << QStringList() << 1
                              << QStringLiteral("L'unità &C1 risponde dopo 1,5") << false;
        QTest::newRow("0,9 s late") << justLate << QStringList() << 1
                                    << QStringLiteral("L'unità &C1 risponde dopo 0,9") << false;
        QTest::newRow("3,5 s late") << beyondTheLongWait << QStringList() << 1
                                    << QStringLiteral("L'unità &C1 risponde dopo 3,5") << false;
        QTest::newRow("echo, --eco, silent unit")
            << echoingSilent << QStringList{QStringLiteral("--eco")} << 1
            << QStringLiteral("La linea ripete ogni trama, come atteso con l'eco attivato, ma "
                              "l'unità non risponde: su ")
            << false;
        QTest::newRow("echo") << echoing << QStringList() << 1
                              << QStringLiteral("La linea ripete ogni trama: la trama è tornata "
                                                "indietro byte per byte, seguita dalla risposta "
                                                "dell'unità dopo ")
                              << false;
        QTest::newRow("echo, --eco") << echoing << QStringList{QStringLiteral("--eco")} << 0
                                     << QStringLiteral("L'unità &C1 risponde in ") << false;
        QTest::newRow("--eco, no echo") << healthy << QStringList{QStringLiteral("--eco")} << 1
                                        << QStringLiteral("L'unità &C1 risponde in ") << false;
        QTest::newRow("other identifier") << otherIdentifier << QStringList() << 1
                                          << QStringLiteral("Risponde &C4, non &C1: ") << false;
        QTest::newRow("--prova-id")
            << unlisted << QStringList{QStringLiteral("--prova-id"), QStringLiteral("X9")} << 1
            << QStringLiteral("Risponde X9, non &C1: ") << false;
        QTest::newRow("silent") << silent << QStringList() << 1
                                << QStringLiteral("Nessun byte ricevuto su ") << false;
        QTest::newRow("garbled") << garbling << QStringList() << 1
                                 << QStringLiteral("Arrivano byte che non formano una risposta: "
                                                   "3F 3F 3F 3F 3F 0D. ")
                                 << false;
        QTest::newRow("silent, network")
            << silent << QStringList() << 1
            << QStringLiteral("Nessun byte ricevuto attraverso il server tcp://127.0.0.1:") << true;
        QTest::newRow("garbled, network")
            << garbling << QStringList() << 1
            << QStringLiteral("Arrivano byte che non formano una risposta: 3F 3F 3F 3F 3F 0D. "
                              "Cause probabili: disturbi sulla linea, impostazioni del server "
                              "seriale")
            << true;
    }
    void diagnosisFindings() {
        QFETCH(SimulatedUnit::Options, options);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, finding);
        QFETCH(bool, network);
        SimulatedUnit unit(options);
        QVERIFY(unit.start());
        NetworkPort networkPort(unit.devicePath());
        QString error;
        QVERIFY2(!network || networkPort.listen(0, &error), qPrintable(error));
        const CliRun run = runCli(QStringList{QStringLiteral("--porta"),
                                              network ? networkPort.url() : unit.devicePath(),
                                              QStringLiteral("diagnosi")} +
                                  arguments);
        QCOMPARE(run.exitCode, exitCode);
        const QStringList lines = run.out.trimmed().split(QLatin1Char('\n'));
        QVERIFY2(lines.last().startsWith(finding), qPrintable(run.out));
        // A step per frame before the finding; nothing is written to the unit.
        QCOMPARE(lines.size() - 1, unit.framesReceived());
        QCOMPARE(unit.writesReceived(), 0);
        QVERIFY(run.err.isEmpty());
    }

    // On a line that gives every frame back to a silent unit, each
    // operation names the echo that came and the setting that takes it.
    void anEchoWithoutTheSettingIsNamed_data() {
        QTest::addColumn<QStringList>("arguments");
        const QString file = m_folder.filePath(QStringLiteral("eco-muta.tvo"));
        QTest::newRow("leggi") << QStringList{QStringLiteral("leggi"), file};
        QTest::newRow("confronta") << QStringList{QStringLiteral("confronta"), file};
        QTest::newRow("invia --copia-auto")
            << QStringList{QStringLiteral("invia"), file, QStringLiteral("--copia-auto")};
    }
    void anEchoWithoutTheSettingIsNamed() {
        QFETCH(QStringList, arguments);
        SimulatedUnit::Options options;
        options.echo = true;
        options.silentFrom = 1;
        SimulatedUnit unit(options);
        QVERIFY(unit.start());
        QVERIFY(writeFile(arguments.at(1), fileOf({"000PRIMO"})));
        // The copy, were one saved, goes under the scratch folder.
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_folder.path()));
        const CliRun run =
            runCli(QStringList{QStringLiteral("--porta"), unit.devicePath()} + arguments);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("la linea ripete le trame")) &&
                     run.err.contains(QStringLiteral("--eco")),
                 qPrintable(run.err));
        QCOMPARE(unit.writesReceived(), 0);
    }

    // The presence test keeps its own texts and adds what programming would
    // say of a line that does not give the frame back. The unit's reply is
    // the test frame itself: alone it may also be the echo of a silent unit.
    void presenceTestWithTheEchoSettingOnALineWithoutEcho() {
        SimulatedUnit unit;
        QVERIFY(unit.start());
        const CliRun run = runCli({QStringLiteral("--porta"), unit.devicePath(),
                                   QStringLiteral("test"), QStringLiteral("--eco")});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err,
                 QStringLiteral("tarvo-cli: Tarvo non risponde Messo in attesa seriale? Con l'eco "
                                "attivato è tornata solo la trama del test (byte 26 43 31 54 41 "
                                "0D), uguale alla risposta dell'unità: se la linea non ha eco, "
                                "quella è la risposta, e la linea non ha ripetuto la trama così "
                                "come è stata inviata (togli «Linea con eco» nel menu Strumenti, "
                                "--eco in tarvo-cli); se la linea ripete le trame, l'unità non "
                                "risponde. La diagnosi della linea distingue i due casi.\n"));
    }

    // A port that stops working during the diagnosis is a finding like any
    // other: told on standard output, exit 1.
    void diagnosisOfAPortLostOnTheWay() {
        SimulatedUnit unit;
        QVERIFY(unit.start());
        connect(&unit, &SimulatedUnit::frameReceived, &unit, &SimulatedUnit::vanish);
        const CliRun run =
            runCli({QStringLiteral("--porta"), unit.devicePath(), QStringLiteral("diagnosi")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.out.contains(QStringLiteral("la porta ha smesso di funzionare")),
                 qPrintable(run.out));
        QVERIFY(run.err.isEmpty());
    }

    // Run by a plain user through runuser, whose command names the port: the
    // processes that started the program never count as holders of the port.
    void theProgramsAncestorsAreNoHolders() {
        SimulatedUnit::Options options;
        options.silentFrom = 1;
        SimulatedUnit unit(options);
        QVERIFY(unit.start());
        QCOMPARE(::chmod(QFile::encodeName(unit.devicePath()).constData(), 0666), 0);
        const CliRun run =
            runCli({QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"),
                    QStringLiteral(TARVO_CLI_EXECUTABLE), QStringLiteral("--porta"),
                    unit.devicePath(), QStringLiteral("test")},
                   QStringLiteral("runuser"));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err,
                 QStringLiteral("tarvo-cli: Tarvo non risponde Messo in attesa seriale?\n"));
    }

    void diagnosisOfAPortThatCannotBeOpened() {
        const CliRun run = runCli({QStringLiteral("--porta"), m_folder.filePath("ttyNessuna"),
                                   QStringLiteral("diagnosi")});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral("tarvo-cli: ")), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }

    // Only with --eco do texts go through a line that echoes; --eco on a
    // line that does not echo stops at the first frame, saying why.
    void programmingThroughALineThatEchoes_data() {
        QTest::addColumn<bool>("lineEchoes");
        QTest::addColumn<bool>("echoOption");
        // 0: the echo comes back whole at once; else byte by byte, paced.
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");
        const QString echoed = QStringLiteral("tarvo-cli: Errore risposta: la linea ripete le "
                                              "trame durante la scrittura, all'indirizzo 000");
        QTest::newRow("echo, --eco") << true << true << 0 << 0 << QString();
        QTest::newRow("echo, --eco, 9600 baud") << true << true << 9600 << 0 << QString();
        QTest::newRow("echo") << true << false << 0 << 1 << echoed;
        // The reply is taken at its length, the first bytes of the echo.
        QTest::newRow("echo, 9600 baud") << true << false << 9600 << 1 << echoed;
        QTest::newRow("--eco, no echo")
            << false << true << 0 << 1
            << QStringLiteral("tarvo-cli: Errore risposta: la linea non ha ripetuto la trama così "
                              "come è stata inviata durante la scrittura, all'indirizzo 000 "
                              "(ricevuti i byte 26 43 31 30 57 52 0D)");
    }
    void programmingThroughALineThatEchoes() {
        QFETCH(bool, lineEchoes);
        QFETCH(bool, echoOption);
        QFETCH(int, baud);
        QFETCH(int, exitCode);
        QFETCH(QString, err);
        SimulatedUnit::Options options;
        options.echo = lineEchoes;
        options.baud = baud;
        SimulatedUnit unit(options);
        QVERIFY(unit.start());
        const QString file = m_folder.filePath(QStringLiteral("eco.tvo"));
        QVERIFY(writeFile(file, fileOf({"000PRIMO", "001SECONDO"})));
        QStringList arguments{QStringLiteral("--porta"), unit.devicePath(), QStringLiteral("invia"),
                              file};
        if (echoOption)
            arguments += QStringLiteral("--eco");
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.startsWith(err), qPrintable(run.err));
        if (exitCode == 0) {
            QCOMPARE(run.out, QStringLiteral("DATI UGUALI  TUTTO OK \n"));
            QCOMPARE(unit.text(1), QByteArray("SECONDO         "));
            QCOMPARE(unit.framesReceived(), 4);
        }
    }
};

QTEST_MAIN(TestLineFaults)
#include "tst_linefaults.moc"
