#include "CliProcess.h"
#include "ExclusiveFlag.h"
#include "MessageFiles.h"
#include "SimulatedUnit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <unistd.h>

// tarvo-cli driven as a script would, against a simulated unit that runs in
// this process: exit statuses, the frames on the wire and the files written.
class TestTarvoCli : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;

    QString path(const QString& name) const { return m_folder.filePath(name); }

    static SimulatedUnit::Options options(int silentFrom = 0, int refuseWriteFrom = 0) {
        SimulatedUnit::Options result;
        result.silentFrom = silentFrom;
        result.refuseWriteFrom = refuseWriteFrom;
        return result;
    }

  private slots:
    void presenceTest_data() {
        QTest::addColumn<int>("silentFrom");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("line");
        QTest::newRow("answers") << 0 << 0 << QStringLiteral("Tarvo risponde TA\n");
        QTest::newRow("silent") << 1 << 1
                                << QStringLiteral("tarvo-cli: Tarvo non risponde Messo in attesa "
                                                  "seriale?\n");
    }
    void presenceTest() {
        QFETCH(int, silentFrom);
        QFETCH(int, exitCode);
        QFETCH(QString, line);
        SimulatedUnit::Options unitOptions = options(silentFrom);
        unitOptions.identifier = "&C7";
        SimulatedUnit unit(unitOptions);
        QVERIFY(unit.start());
        const CliRun run =
            runCli({QStringLiteral("--porta"), unit.devicePath(), QStringLiteral("--id"),
                    QStringLiteral("&C7"), QStringLiteral("test")});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(exitCode == 0 ? run.out : run.err, line);
        QCOMPARE(unit.frames(), QByteArrayList{"&C7TA\r"});
    }

    // Another program holding the port may take the replies: it is named on
    // a line of its own after the usual text; the simulated unit at the far
    // end is not.
    void aMissingReplyNamesOtherHolders() {
        SimulatedUnit unit(options(1));
        QVERIFY(unit.start());
        const QStringList arguments{QStringLiteral("--porta"), unit.devicePath(),
                                    QStringLiteral("test")};
        QCOMPARE(runCli(arguments).err,
                 QStringLiteral("tarvo-cli: Tarvo non risponde Messo in attesa seriale?\n"));
        QProcess holder;
        holder.setStandardInputFile(unit.devicePath());
        holder.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(holder.waitForStarted());
        const qint64 holderPid = holder.processId();
        const CliRun run = runCli(arguments);
        holder.kill();
        holder.waitForFinished();
        QCOMPARE(run.err, QStringLiteral("tarvo-cli: Tarvo non risponde Messo in attesa seriale?\n"
                                         "tarvo-cli: nota: la porta è aperta anche da sleep (pid "
                                         "%1), che può prendersi le risposte\n")
                              .arg(holderPid));
    }

    void programmingWritesThenVerifies() {
        SimulatedUnit unit;
        QVERIFY(unit.start());
        const QString file = path(QStringLiteral("due.tvo"));
        QVERIFY(writeFile(file, fileOf({"000PRIMO", "nota", "001SECONDO \x80"})));
        const CliRun run =
            runCli({QStringLiteral("--porta"), unit.devicePath(), QStringLiteral("invia"), file});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("DATI UGUALI  TUTTO OK \n"));
        QCOMPARE(unit.frames(),
                 (QByteArrayList{"&C10W016000PRIMO           \r",
                                 "&C10W016001SECONDO \x80       \r", "&C10R000\r", "&C10R001\r"}));
        QCOMPARE(unit.text(1), QByteArray("SECONDO \x80       "));
    }

    // tarvo-sim --tcp serves its unit as a serial device server would: texts
    // programmed through tcp:// read back through the network and through
    // the pseudo-terminal alike. While one client has the line, another is
    // refused before any frame, and served once the first has gone.
    void programmingAndReadingThroughTheNetwork() {
        QProcess sim;
        sim.start(QStringLiteral(TARVO_SIM_EXECUTABLE),
                  {QStringLiteral("--tcp"), QStringLiteral("0")});
        QTRY_VERIFY(sim.canReadLine());
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        QTRY_VERIFY(sim.canReadLine());
        const QString url = QString::fromLocal8Bit(sim.readLine()).trimmed();
        QVERIFY2(url.startsWith(QStringLiteral("tcp://127.0.0.1:")), qPrintable(url));

        const QString file = path(QStringLiteral("rete.tvo"));
        QVERIFY(writeFile(file, fileOf({"000PRIMO", "511ULTIMO \x80"})));
        CliRun run = runCli({QStringLiteral("--porta"), url, QStringLiteral("invia"), file});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("DATI UGUALI  TUTTO OK \n"));
        QByteArray read[2];
        const QStringList ports{url, device};
        for (int i = 0; i < 2; ++i) {
            const QString copy = path(QStringLiteral("letti-%1.tvo").arg(i));
            run = runCli({QStringLiteral("--porta"), ports[i], QStringLiteral("leggi"), copy,
                          QStringLiteral("--commento"), QStringLiteral("letti")});
            QCOMPARE(run.exitCode, 0);
            read[i] = contentOf(copy);
        }
        QVERIFY(read[0].contains("\r\n511ULTIMO \x80        *\r\n"));
        QCOMPARE(read[0], read[1]);

        QTcpSocket first;
        first.connectToHost(QHostAddress::LocalHost, quint16(url.section(':', -1).toUInt()));
        QVERIFY(first.waitForConnected());
        first.write("&C1TA\r");
        QTRY_COMPARE(first.bytesAvailable(), 6);
        run = runCli({QStringLiteral("--porta"), url, QStringLiteral("test")});
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.err,
                 QStringLiteral("tarvo-cli: Impossibile collegarsi al server %1: il server "
                                "rifiuta la connessione: controlla l'indirizzo e la porta "
                                "TCP, e che il server non sia già collegato a un altro "
                                "programma\n")
                     .arg(url));
        first.close();
        QTRY_COMPARE(runCli({QStringLiteral("--porta"), url, QStringLiteral("test")}).exitCode, 0);
        sim.terminate();
        QVERIFY(sim.waitForFinished());
    }

    void aRefusedWriteEndsWithStatusOne() {
        SimulatedUnit unit(options(0, 2));
        QVERIFY(unit.start());
        const QString file = path(QStringLiteral("rifiuto.tvo"));
        QVERIFY(writeFile(file, fileOf({"000UNO", "001DUE", "002TRE"})));
        const CliRun run =
            runCli({QStringLiteral("--porta"), unit.devicePath(), QStringLiteral("invia"), file});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QStringLiteral("tarvo-cli: Errore risposta: l'unità ha rifiutato il "
                                         "testo dell'indirizzo 001 (risposta: «&C10WN»); l'unità "
                                         "può avere solo una parte dei testi, non verificati.\n"));
        QCOMPARE(unit.framesReceived(), 2);

        // The unit falls silent while the texts are read back.
        SimulatedUnit silent(options(4));
        QVERIFY(silent.start());
        const CliRun unanswered =
            runCli({QStringLiteral("--porta"), silent.devicePath(), QStringLiteral("invia"), file});
        QCOMPARE(unanswered.exitCode, 1);
        QCOMPARE(unanswered.err,
                 QStringLiteral("tarvo-cli: Errore Dati non scritti giusti: l'unità non risponde "
                                "durante la verifica, all'indirizzo 000. Controlla "
                                "identificativo, cavo e porta; testi scritti, verifica non "
                                "completata.\n"));
    }

    // Names copied from old Windows media are Latin-1: the file sent and the
    // file written are the very ones named, byte for byte.
    void fileNamesThatAreNotUtf8() {
        SimulatedUnit unit;
        QVERIFY(unit.start());
        const QByteArray folder = QFile::encodeName(m_folder.path());
        std::FILE* sent = std::fopen(folder + "/c\xe9.tvo", "wb");
        QVERIFY(sent);
        const QByteArray content = fileOf({"000LATINO"});
        QCOMPARE(std::fwrite(content.constData(), 1, content.size(), sent), size_t(content.size()));
        std::fclose(sent);
        // The shell's printf makes the byte \351, which no QString argument carries.
        const auto runWithLatin1Name = [&](const QString& action, const QString& name) {
            return runCli({QStringLiteral("-c"),
                           QStringLiteral("exec \"$0\" --porta \"$1\" \"$2\" \"$3/$(printf '%1')\"")
                               .arg(name),
                           QStringLiteral(TARVO_CLI_EXECUTABLE), unit.devicePath(), action,
                           m_folder.path()},
                          QStringLiteral("/bin/sh"));
        };
        CliRun run = runWithLatin1Name(QStringLiteral("invia"), QStringLiteral("c\\351.tvo"));
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, QStringLiteral("DATI UGUALI  TUTTO OK \n"));
        QCOMPARE(unit.text(0), QByteArray("LATINO          "));

        run = runWithLatin1Name(QStringLiteral("leggi"), QStringLiteral("n\\351.tvo"));
        QCOMPARE(run.out,
                 QStringLiteral("letti tutti: salvati in %1/n\u00e9.tvo\n").arg(m_folder.path()));
        QVERIFY(::access(folder + "/n\xe9.tvo", R_OK) == 0);
        QVERIFY(::access(folder + "/n\xef\xbf\xbd.tvo", F_OK) != 0);
    }

    void readingAllWritesTheFileOnlyWhenComplete() {
        SimulatedUnit unit;
        QVERIFY(unit.start());
        unit.setText(5, "CINQUE");
        const QString file = path(QStringLiteral("letti.tvo"));
        CliRun run = runCli({QStringLiteral("--porta"), unit.devicePath(), QStringLiteral("leggi"),
                             file, QStringLiteral("--commento"), QStringLiteral("Magazzino è")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("letti tutti: salvati in %1\n").arg(file));
        QByteArray expected = "Magazzino \xe8\r\n";
        for (int address = 0; address < 512; ++address)
            expected +=
                QByteArray::number(address).rightJustified(3, '0') + unit.text(address) + "*\r\n";
        QCOMPARE(contentOf(file), expected + "\r\nend\r\n");

        // A unit that stops answering half way leaves the existing file alone.
        SimulatedUnit failing(options(101));
        QVERIFY(failing.start());
        run = runCli(
            {QStringLiteral("--porta"), failing.devicePath(), QStringLiteral("leggi"), file});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("non risponde")), qPrintable(run.err));
        QCOMPARE(contentOf(file), expected + "\r\nend\r\n");
    }

    void badUseSendsNothing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("words");
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("--veloce"), QStringLiteral("test")}
            << QStringLiteral("opzione sconosciuta: veloce");
        // Qt's own message, in Italian under any locale (tests run under C).
        QTest::newRow("option without value")
            << QStringList{QStringLiteral("test"), QStringLiteral("--id")}
            << QStringLiteral("Valore mancante dopo '--id'");
        QTest::newRow("no operation") << QStringList{} << QStringLiteral("manca l'operazione");
        QTest::newRow("port that does not exist")
            << QStringList{QStringLiteral("--porta"), QStringLiteral("/dev/tarvo-mancante"),
                           QStringLiteral("test")}
            << QStringLiteral("non esiste");
        QTest::newRow("file that cannot be read")
            << QStringList{QStringLiteral("invia"), QStringLiteral("/tmp/tarvo-mancante.tvo")}
            << QStringLiteral("tarvo-mancante.tvo: il file o la cartella non esiste");
        QTest::newRow("name without .tvo")
            << QStringList{QStringLiteral("leggi"), QStringLiteral("letti.txt")}
            << QStringLiteral("estensione .tvo");
        // Everything that can be known wrong before the first frame stops the run there.
        QByteArrayList overTheTable;
        for (int record = 0; record < 600; ++record)
            overTheTable += QByteArray::number(record % 512).rightJustified(3, '0') + "TESTO";
        const QString tooMany = path(QStringLiteral("seicento.tvo"));
        const QString noMessage = path(QStringLiteral("vuoto.tvo"));
        const QString garbage = path(QStringLiteral("binario.tvo"));
        QVERIFY(writeFile(tooMany, fileOf(overTheTable)));
        QVERIFY(writeFile(noMessage, fileOf({})));
        QVERIFY(writeFile(garbage, QByteArray(200000, '\xff')));
        QVERIFY(QDir(m_folder.path()).mkpath(QStringLiteral("cartella.tvo")));
        QTest::newRow("more records than the table holds")
            << QStringList{QStringLiteral("invia"), tooMany}
            << QStringLiteral("Il file ha 600 messaggi, più dei 591");
        QTest::newRow("only a comment")
            << QStringList{QStringLiteral("invia"), noMessage}
            << QStringLiteral("nessun messaggio da inviare in ") + noMessage;
        QTest::newRow("binary garbage")
            << QStringList{QStringLiteral("invia"), garbage}
            << QStringLiteral("nessun messaggio da inviare in ") + garbage;
        QTest::newRow("compare a file without messages")
            << QStringList{QStringLiteral("confronta"), garbage}
            << QStringLiteral("nessun messaggio da inviare in ") + garbage;
        // A copy taken over the file to send would replace the new texts.
        const QString sent = path(QStringLiteral("nuovo.tvo"));
        QVERIFY(writeFile(sent, fileOf({"000NUOVO"})));
        QFile::link(sent, path(QStringLiteral("collegamento.tvo")));
        for (const QString& copy : {sent, m_folder.path() + QStringLiteral("/./nuovo.tvo"),
                                    path(QStringLiteral("collegamento.tvo"))})
            QTest::newRow(qPrintable(QStringLiteral("copy onto the file sent as ") + copy))
                << QStringList{QStringLiteral("invia"), sent, QStringLiteral("--copia"), copy,
                               QStringLiteral("--solo-diversi")}
                << QStringLiteral("è il file da inviare");
        QTest::newRow("copy into a missing folder")
            << QStringList{QStringLiteral("invia"), sent, QStringLiteral("--copia"),
                           path(QStringLiteral("manca/copia.tvo"))}
            << QStringLiteral("la cartella %1 non esiste").arg(path(QStringLiteral("manca")));
        QTest::newRow("read into a missing folder")
            << QStringList{QStringLiteral("leggi"), path(QStringLiteral("manca/letti.tvo"))}
            << QStringLiteral("la cartella %1 non esiste").arg(path(QStringLiteral("manca")));
        QTest::newRow("read onto a folder")
            << QStringList{QStringLiteral("leggi"), path(QStringLiteral("cartella.tvo"))}
            << QStringLiteral("è una cartella");
        QTest::newRow("comment of two lines")
            << QStringList{QStringLiteral("leggi"), path(QStringLiteral("letti.tvo")),
                           QStringLiteral("--commento"), QStringLiteral("uno\ndue")}
            << QStringLiteral("una sola riga");
        QTest::newRow("character outside Windows-1252")
            << QStringList{QStringLiteral("--id"), QStringLiteral("&C✓"), QStringLiteral("test")}
            << QStringLiteral("identificativo");
    }
    void badUseSendsNothing() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, words);
        SimulatedUnit unit;
        QVERIFY(unit.start());
        if (!arguments.contains(QStringLiteral("--porta")))
            arguments = QStringList{QStringLiteral("--porta"), unit.devicePath()} + arguments;
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral("tarvo-cli: ")) && run.err.contains(words) &&
                     run.err.count(u'\n') == 1,
                 qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(unit.framesReceived(), 0);
        QCOMPARE(contentOf(path(QStringLiteral("nuovo.tvo"))), fileOf({"000NUOVO"}));
    }

    void aSignalStopsBetweenExchanges_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("leftBehind");
        QTest::newRow("SIGTERM while writing")
            << int(SIGTERM) << QStringLiteral("invia")
            << QStringLiteral("tarvo-cli: interrotto da SIGTERM durante la scrittura, dopo "
                              "l'indirizzo ")
            << QStringLiteral("l'unità può avere solo una parte dei testi");
        QTest::newRow("SIGINT while reading")
            << int(SIGINT) << QStringLiteral("leggi")
            << QStringLiteral("tarvo-cli: interrotto da SIGINT durante la lettura, dopo "
                              "l'indirizzo ")
            << QStringLiteral("il file che c'era è rimasto com'era");
        QTest::newRow("SIGHUP while copying")
            << int(SIGHUP) << QStringLiteral("copia")
            << QStringLiteral("tarvo-cli: interrotto da SIGHUP durante la copia, dopo "
                              "l'indirizzo ")
            << QStringLiteral("la copia non è stata salvata e nessun testo è stato scritto");
    }
    void aSignalStopsBetweenExchanges() {
        QFETCH(int, signalNumber);
        QFETCH(QString, operation);
        QFETCH(QString, line);
        QFETCH(QString, leftBehind);
        const bool reading = operation == QStringLiteral("leggi");
        SimulatedUnit::Options slow;
        slow.replyDelayMs = 20;
        SimulatedUnit unit(slow);
        QVERIFY(unit.start());
        QByteArrayList records;
        for (int address = 0; address < 200; ++address)
            records += QByteArray::number(address).rightJustified(3, '0') + "NUOVO";
        const QString sent = path(QStringLiteral("duecento.tvo"));
        const QString target = path(QStringLiteral("esistente.tvo"));
        QVERIFY(writeFile(sent, fileOf(records)));
        QVERIFY(writeFile(target, "che c'era\r\n"));

        QProcess process;
        QSignalSpy finished(&process, &QProcess::finished);
        const QString copy = path(QStringLiteral("copia.tvo"));
        QStringList arguments{QStringLiteral("--porta"), unit.devicePath(),
                              reading ? QStringLiteral("leggi") : QStringLiteral("invia"),
                              reading ? target : sent};
        if (operation == QStringLiteral("copia"))
            arguments += {QStringLiteral("--copia"), copy};
        process.start(QStringLiteral(TARVO_CLI_EXECUTABLE), arguments);
        QTRY_VERIFY(unit.framesReceived() >= 5);
        ::kill(pid_t(process.processId()), signalNumber);
        QVERIFY(finished.wait(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 128 + signalNumber);
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(err.startsWith(line) && err.count(u'\n') == 1 && err.contains(leftBehind),
                 qPrintable(err));
        // The line names the last frame sent; the unit received exactly that many.
        const QStringList where = err.mid(line.size()).split(u' ');
        const int frames = where.value(1).mid(1).toInt();
        QCOMPARE(where.value(0), QStringLiteral("%1").arg(frames - 1, 3, 10, QLatin1Char('0')));
        QTRY_COMPARE(unit.framesReceived(), frames);
        QVERIFY(frames >= 5 && frames < (operation == QStringLiteral("invia") ? 400 : 512));
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(contentOf(target), QByteArray("che c'era\r\n"));
        QCOMPARE(QDir(m_folder.path()).entryList({QStringLiteral("*esistente*")}, QDir::Files),
                 QStringList(QStringLiteral("esistente.tvo")));

        // The port is given back as found: not exclusive, so any user may open it.
        QCOMPARE(exclusiveFlag(unit.devicePath()), std::optional<bool>(false));
    }
};

QTEST_MAIN(TestTarvoCli)
#include "tst_tarvocli.moc"
