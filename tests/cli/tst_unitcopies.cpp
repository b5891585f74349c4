#include "CliProcess.h"
#include "MessageFiles.h"
#include "SimulatedUnit.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

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
