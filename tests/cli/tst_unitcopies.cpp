#include "CliProcess.h"
#include "MessageFiles.h"
#include "SimulatedUnit.h"
#include "files/FileReservation.h"
#include "files/UnitCopies.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

// The program's copies from tarvo-cli: invia --copia-auto keeps one, copie
// lists them, ripristina puts one back; the copies folder is under a scratch
// XDG_DATA_HOME.
class TestCliUnitCopies : public QObject {
    Q_OBJECT

    QTemporaryDir m_scratch;

    // A data folder of its own for the test, and the copies folder in it.
    QString useDataFolder(const QString& name) {
        const QString data = m_scratch.filePath(name);
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        return data + QStringLiteral("/Tarvodisp programmazione scritte/copie");
    }

    static QStringList lines(const QString& out) { return out.split(u'\n', Qt::SkipEmptyParts); }

    // A copy as the program names and heads it, with one text.
    static bool keepCopy(const QString& path, const QByteArray& identifier,
                         const QByteArray& text) {
        return writeFile(path, "Copia dell'unit\xe0 " + identifier +
                                   " dalla porta 1, 01/12/2026 10:00:00\r\n000" +
                                   text.leftJustified(16) + "*\r\nend\r\n");
    }

  private slots:
    void aCopyIsKeptListedAndPutBack() {
        const QString copies = useDataFolder(QStringLiteral("ritorno"));
        SimulatedUnit unit;
        QVERIFY(unit.start());
        for (int address : {0, 1, 2})
            unit.setText(address, "PRIMA " + QByteArray::number(address));
        unit.setText(3, "UGUALE");
        const QString file = m_scratch.filePath(QStringLiteral("nuovi.tvo"));
        QVERIFY(writeFile(file, fileOf({"000DOPO 0", "001DOPO 1", "002DOPO 2", "003UGUALE"})));
        const QStringList port{QStringLiteral("--porta"), unit.devicePath()};

        CliRun run = runCli(port + QStringList{QStringLiteral("invia"), file,
                                               QStringLiteral("--solo-diversi"),
                                               QStringLiteral("--copia-auto")});
        QCOMPARE(run.exitCode, 0);
        QStringList kept = QDir(copies).entryList(QDir::Files);
        QCOMPARE(kept.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{8}-\\d{6}-&C1\\.tvo$"))
                     .match(kept[0])
                     .hasMatch(),
                 qPrintable(kept[0]));
        const QString first = copies + u'/' + kept[0];
        QCOMPARE(
            run.out,
            QStringLiteral("copia salvata in %1\nscritti 3 testi, 1 era già uguale\n").arg(first));
        QVERIFY(contentOf(first).contains("\r\n001PRIMA 1         *\r\n"));
        QCOMPARE(unit.text(1), QByteArray("DOPO 1          "));

        run = runCli({QStringLiteral("copie")});
        QCOMPARE(run.exitCode, 0);
        QStringList fields = run.out.chopped(1).split(u'\t');
        QCOMPARE(fields.size(), 4);
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$"))
                     .match(fields[0])
                     .hasMatch(),
                 qPrintable(fields[0]));
        QCOMPARE(fields.mid(1), (QStringList{"&C1", unit.devicePath(), first}));

        // The newest copy of &C1 goes back after a copy of what the unit
        // holds now: only the three texts that differ are written.
        const int writesBefore = unit.writesReceived();
        const int framesBefore = unit.framesReceived();
        run = runCli(port + QStringList{QStringLiteral("ripristina")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(unit.writesReceived() - writesBefore, 3);
        QCOMPARE(unit.framesReceived() - framesBefore, 512 + 3 + 3);
        for (int address : {0, 1, 2})
            QCOMPARE(unit.text(address),
                     ("PRIMA " + QByteArray::number(address)).leftJustified(16));
        kept = QDir(copies).entryList(QDir::Files);
        QCOMPARE(kept.size(), 2);
        const QStringList listed = lines(runCli({QStringLiteral("copie")}).out);
        QCOMPARE(listed.size(), 2);
        QVERIFY(listed[1].endsWith(u'\t' + first));
        const QString second = listed[0].section(u'\t', 3);
        QCOMPARE(lines(run.out),
                 (QStringList{"copia da rimettere: " + first, "copia salvata in " + second,
                              "scritti 3 testi, 509 erano già uguali"}));
        QVERIFY(contentOf(second).contains("\r\n001DOPO 1          *\r\n"));
        QVERIFY(contentOf(first).contains("\r\n001PRIMA 1         *\r\n"));
    }

    // Three runs on three units with one identifier, started together: each
    // copy under its own name, with its own unit's texts, and all listed.
    void copiesTakenAtOnceKeepEachUnitsTexts() {
        const QString copies = useDataFolder(QStringLiteral("insieme"));
        const QString file = m_scratch.filePath(QStringLiteral("insieme.tvo"));
        QVERIFY(writeFile(file, fileOf({"000DOPO"})));
        std::array<SimulatedUnit, 3> units;
        std::array<QProcess, 3> runs;
        for (size_t unit = 0; unit < units.size(); ++unit) {
            QVERIFY(units[unit].start());
            units[unit].setText(1, "UNITA " + QByteArray::number(int(unit)));
        }
        for (size_t unit = 0; unit < units.size(); ++unit)
            runs[unit].start(QStringLiteral(TARVO_CLI_EXECUTABLE),
                             {QStringLiteral("--porta"), units[unit].devicePath(),
                              QStringLiteral("invia"), file, QStringLiteral("--solo-diversi"),
                              QStringLiteral("--copia-auto")});
        QSet<QString> saved;
        for (size_t unit = 0; unit < units.size(); ++unit) {
            QTRY_VERIFY_WITH_TIMEOUT(runs[unit].state() == QProcess::NotRunning, 120000);
            QCOMPARE(runs[unit].exitCode(), 0);
            const QString first =
                lines(QString::fromLocal8Bit(runs[unit].readAllStandardOutput())).value(0);
            QVERIFY2(first.startsWith(QStringLiteral("copia salvata in ") + copies),
                     qPrintable(first));
            const QString path = first.section(QStringLiteral(" in "), 1);
            saved += path;
            QVERIFY(contentOf(path).contains("\r\n001UNITA " + QByteArray::number(int(unit)) +
                                             "         *\r\n"));
        }
        QCOMPARE(saved.size(), 3);
        QCOMPARE(lines(runCli({QStringLiteral("copie")}).out).size(), 3);
    }

    // The name of a copy being taken is held: no list shows it, no other run
    // writes it, and it leaves no file when the run fails.
    void aCopyBeingTakenIsNoCopy() {
        const QString copies = useDataFolder(QStringLiteral("in-corso"));
        SimulatedUnit unit;
        QVERIFY(unit.start());
        const QStringList port{QStringLiteral("--porta"), unit.devicePath()};
        const QString file = m_scratch.filePath(QStringLiteral("in-corso.tvo"));
        QVERIFY(writeFile(file, fileOf({"000DOPO"})));
        {
            const UnitCopies::NewCopy taking =
                UnitCopies::newCopy("&C1", QDateTime::currentDateTime());
            QVERIFY(taking.file.held());
            const CliRun listed = runCli({QStringLiteral("copie")});
            QCOMPARE(listed.exitCode, 0);
            QCOMPARE(listed.out, QString());
            QCOMPARE(listed.err, QStringLiteral("tarvo-cli: nessuna copia in %1\n").arg(copies));
            const CliRun restore = runCli(port + QStringList{QStringLiteral("ripristina")});
            QCOMPARE(restore.exitCode, 2);
            QVERIFY2(restore.err.contains(QStringLiteral("nessuna copia di &C1 da rimettere")),
                     qPrintable(restore.err));

            // --copia aimed at a file another run is writing.
            const QString named = m_scratch.filePath(QStringLiteral("contesa.tvo"));
            QVERIFY(writeFile(named, "PRIMA\r\n"));
            const FileReservation other = FileReservation::claim(named);
            QVERIFY(other.held());
            const CliRun refused = runCli(port + QStringList{QStringLiteral("invia"), file,
                                                             QStringLiteral("--copia"), named});
            QCOMPARE(refused.exitCode, 2);
            QCOMPARE(refused.err, QStringLiteral("tarvo-cli: Impossibile scrivere la copia %1: "
                                                 "un'altra operazione in corso la sta già "
                                                 "scrivendo\n")
                                      .arg(named));
            QCOMPARE(contentOf(named), QByteArray("PRIMA\r\n"));
            QCOMPARE(unit.framesReceived(), 0);
        }
        QCOMPARE(QDir(copies).entryList(QDir::Files), QStringList());

        // A run whose copy cannot be read whole leaves no name behind.
        const CliRun failed = runCli(
            port + QStringList{QStringLiteral("--id"), QStringLiteral("&C7"),
                               QStringLiteral("invia"), file, QStringLiteral("--copia-auto")});
        QCOMPARE(failed.exitCode, 1);
        QCOMPARE(QDir(copies).entryList(QDir::Files), QStringList());
    }

    // A copy of &C4 goes into the unit addressed as &C1 only when asked; a
    // restore that fails names the copy and the command that retries it.
    void anotherUnitsCopyAndARetry() {
        const QString copies = useDataFolder(QStringLiteral("altra"));
        QVERIFY(QDir().mkpath(copies));
        const QString ofC4 = copies + QStringLiteral("/20261201-100000-&C4.tvo");
        QVERIFY(keepCopy(ofC4, "&C4", "DELLA C4"));
        SimulatedUnit::Options refusing;
        refusing.refuseWriteFrom = 1;
        SimulatedUnit unit(refusing);
        QVERIFY(unit.start());
        const QStringList port{QStringLiteral("--porta"), unit.devicePath()};

        const CliRun refused = runCli(port + QStringList{QStringLiteral("ripristina"), ofC4});
        QCOMPARE(refused.exitCode, 2);
        QCOMPARE(refused.err, QStringLiteral("tarvo-cli: la copia è dell'unità &C4, non di &C1: "
                                             "nulla è stato scritto. Per rimetterla in &C1 "
                                             "aggiungi --anche-altra-unita\n"));
        QCOMPARE(unit.framesReceived(), 0);

        const CliRun failed = runCli(port + QStringList{QStringLiteral("ripristina"), ofC4,
                                                        QStringLiteral("--anche-altra-unita")});
        QCOMPARE(failed.exitCode, 1);
        const QString fresh = lines(failed.out).value(1).section(QStringLiteral(" in "), 1);
        QVERIFY2(fresh.startsWith(copies), qPrintable(failed.out));
        const QString retry = QStringLiteral("tarvo-cli --porta %1 --id '&C1' ripristina '%2' "
                                             "--anche-altra-unita")
                                  .arg(unit.devicePath(), ofC4);
        QVERIFY2(failed.err.endsWith(QStringLiteral(" La copia da rimettere era %1: per riprovare, "
                                                    "%2 (senza nome, ripristina prenderebbe la "
                                                    "copia appena fatta, %3).\n")
                                         .arg(ofC4, retry, fresh)),
                 qPrintable(failed.err));

        // The command given puts the copy back, as the shell reads it.
        QVERIFY(unit.setOptions({}));
        const CliRun again = runCli(
            {QStringLiteral("-c"), QString(retry).replace(QStringLiteral("tarvo-cli"),
                                                          QStringLiteral(TARVO_CLI_EXECUTABLE))},
            QStringLiteral("/bin/sh"));
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(unit.text(0), QByteArray("DELLA C4        "));
    }

    // Newest first by the name's date and time, then by the number a second
    // copy in the same second gets; identifier and port from the comment,
    // else the identifier from the name; names the program did not give last.
    void theListIsOrderedAndReadFromNameAndComment() {
        const QString copies = useDataFolder(QStringLiteral("elenco"));
        QVERIFY(QDir().mkpath(copies));
        const auto copy = [&](const QString& name, const QByteArray& comment) {
            return writeFile(copies + u'/' + name, comment + "\r\n000TESTO*\r\nend\r\n");
        };
        const QByteArray programs = "Copia dell'unit\xe0 ";
        QVERIFY(
            copy("20261209-103005-&C1.tvo", programs + "&C1 dalla porta 3, 09/12/2026 10:30:05"));
        QVERIFY(copy("mia.tvo", "a mano"));
        QVERIFY(copy("20261209-103005-&C1-2.tvo",
                     programs + "&C1 dalla porta /dev/ttyUSB0, 09/12/2026 10:30:05"));
        QVERIFY(copy("20261201-080000-X_Y.tvo", "scritta da altri"));
        QVERIFY(
            copy("20261208-235959-&C-2.tvo", programs + "&C-2 dalla porta 1, 08/12/2026 23:59:59"));
        QVERIFY(copy("20261209-103005-&C-2-3.tvo",
                     programs + "&C-2 dalla porta 1, 09/12/2026 10:30:05"));

        const CliRun run = runCli({QStringLiteral("copie")});
        QCOMPARE(run.exitCode, 0);
        const QString c = copies + u'/';
        QCOMPARE(lines(run.out),
                 (QStringList{"09/12/2026 10:30:05\t&C-2\t1\t" + c + "20261209-103005-&C-2-3.tvo",
                              "09/12/2026 10:30:05\t&C1\t/dev/ttyUSB0\t" + c +
                                  "20261209-103005-&C1-2.tvo",
                              "09/12/2026 10:30:05\t&C1\t3\t" + c + "20261209-103005-&C1.tvo",
                              "08/12/2026 23:59:59\t&C-2\t1\t" + c + "20261208-235959-&C-2.tvo",
                              "01/12/2026 08:00:00\tX_Y\t\t" + c + "20261201-080000-X_Y.tvo",
                              "\t\t\t" + c + "mia.tvo"}));
        QCOMPARE(
            lines(runCli({QStringLiteral("--id"), QStringLiteral("&C-2"), QStringLiteral("copie")})
                      .out)
                .size(),
            2);
        // &C10's copies are not &C1's; ripristina takes &C1's newest.
        QVERIFY(keepCopy(c + "20261210-080000-&C10.tvo", "&C10", "DIECI"));
        QCOMPARE(
            lines(runCli({QStringLiteral("--id"), QStringLiteral("&C1"), QStringLiteral("copie")})
                      .out)
                .size(),
            2);
        SimulatedUnit unitOne;
        QVERIFY(unitOne.start());
        const CliRun restored =
            runCli({QStringLiteral("--porta"), unitOne.devicePath(), QStringLiteral("ripristina")});
        QCOMPARE(restored.exitCode, 0);
        QCOMPARE(lines(restored.out).value(0),
                 "copia da rimettere: " + c + "20261209-103005-&C1-2.tvo");

        // No copy of the identifier: nothing is sent.
        SimulatedUnit unit;
        QVERIFY(unit.start());
        const CliRun none =
            runCli({QStringLiteral("--porta"), unit.devicePath(), QStringLiteral("--id"),
                    QStringLiteral("&C9"), QStringLiteral("ripristina")});
        QCOMPARE(none.exitCode, 2);
        QCOMPARE(
            none.err,
            QStringLiteral("tarvo-cli: nessuna copia di &C9 da rimettere in %1\n").arg(copies));
        QCOMPARE(unit.framesReceived(), 0);

        // A copies folder that cannot be made is told before any frame.
        const QString blocked = m_scratch.filePath(QStringLiteral("file"));
        QVERIFY(writeFile(blocked, "non una cartella"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(blocked));
        const QString file = m_scratch.filePath(QStringLiteral("uno.tvo"));
        QVERIFY(writeFile(file, fileOf({"000UNO"})));
        const CliRun refused =
            runCli({QStringLiteral("--porta"), unit.devicePath(), QStringLiteral("invia"), file,
                    QStringLiteral("--copia-auto")});
        QCOMPARE(refused.exitCode, 2);
        QVERIFY2(refused.err.startsWith(
                     QStringLiteral("tarvo-cli: Non si può creare la cartella delle copie")),
                 qPrintable(refused.err));
        QCOMPARE(unit.framesReceived(), 0);
    }
};

QTEST_MAIN(TestCliUnitCopies)
#include "tst_unitcopies.moc"
