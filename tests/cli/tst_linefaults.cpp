#include "CliProcess.h"
#include "MessageFiles.h"
#include "NetworkPort.h"
#include "SimulatedUnit.h"

#include <QTemporaryDir>
#include <QtTest>

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
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");
        QTest::newRow("echo, --eco") << true << true << 0 << QString();
        QTest::newRow("echo") << true << false << 1
                              << QStringLiteral("tarvo-cli: Errore risposta: la linea ripete le "
                                                "trame durante la scrittura, all'indirizzo 000");
        QTest::newRow("--eco, no echo")
            << false << true << 1
            << QStringLiteral("tarvo-cli: Errore risposta: la linea non ha ripetuto la trama così "
                              "come è stata inviata durante la scrittura, all'indirizzo 000 "
                              "(ricevuti i byte 26 43 31 30 57 52 0D)");
    }
    void programmingThroughALineThatEchoes() {
        QFETCH(bool, lineEchoes);
        QFETCH(bool, echoOption);
        QFETCH(int, exitCode);
        QFETCH(QString, err);
        SimulatedUnit::Options options;
        options.echo = lineEchoes;
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
