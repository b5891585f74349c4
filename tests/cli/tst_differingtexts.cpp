#include "CliProcess.h"
#include "MessageFiles.h"
#include "SimulatedUnit.h"

#include <QTemporaryDir>
#include <QtTest>

// tarvo-cli's confronta, invia --copia and invia --solo-diversi against a
// simulated unit that differs from a 512-text file at three addresses.
class TestCliDifferingTexts : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;

    static QByteArray digits(int address) {
        return QByteArray::number(address).rightJustified(3, '0');
    }

    // The file sends "TESTO nnn" everywhere; the unit holds "VECCHIO nnn" at
    // the given addresses.
    QString prepare(SimulatedUnit& unit, const QList<int>& differing) {
        QByteArrayList lines;
        for (int address = 0; address < 512; ++address) {
            lines += digits(address) + "TESTO " + digits(address);
            unit.setText(address,
                         (differing.contains(address) ? "VECCHIO " : "TESTO ") + digits(address));
        }
        const QString file = m_folder.filePath(QStringLiteral("tutti.tvo"));
        return writeFile(file, fileOf(lines)) ? file : QString();
    }

  private slots:
    void compareThenWriteOnlyTheDifferingWithACopy() {
        SimulatedUnit unit;
        QVERIFY(unit.start());
        const QString file = prepare(unit, {4, 200, 511});
        const QStringList port{QStringLiteral("--porta"), unit.devicePath()};

        CliRun run = runCli(port + QStringList{QStringLiteral("confronta"), file});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QStringLiteral("004 file «TESTO 004       » unità «VECCHIO 004     »\n"
                                         "200 file «TESTO 200       » unità «VECCHIO 200     »\n"
                                         "511 file «TESTO 511       » unità «VECCHIO 511     »\n"
                                         "509 testi uguali, 3 diversi\n"));
        QCOMPARE(unit.writesReceived(), 0);

        const QString copy = m_folder.filePath(QStringLiteral("copia.tvo"));
        run = runCli(port + QStringList{QStringLiteral("invia"), file,
                                        QStringLiteral("--solo-diversi"), QStringLiteral("--copia"),
                                        copy});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("copia salvata in %1\nscritti 3 testi, 509 erano già "
                                         "uguali\n")
                              .arg(copy));
        QCOMPARE(unit.writesReceived(), 3);
        QCOMPARE(unit.framesReceived(), 512 + 512 + 3 + 3);
        const QByteArray saved = contentOf(copy);
        QVERIFY2(saved.startsWith("Copia dell'unit\xe0 &C1 dalla porta " +
                                  unit.devicePath().toLocal8Bit() + ", "),
                 saved.left(80).constData());
        QVERIFY(saved.contains("\r\n200VECCHIO 200     *\r\n"));
        QVERIFY(saved.endsWith("511VECCHIO 511     *\r\n\r\nend\r\n"));

        run = runCli(port + QStringList{QStringLiteral("confronta"), file});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("512 testi uguali, 0 diversi\n"));

        // Nothing left to write: nothing is written, and the run says so.
        run = runCli(port +
                     QStringList{QStringLiteral("invia"), file, QStringLiteral("--solo-diversi")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(QStringLiteral("nessun testo diverso, nulla scritto")),
                 qPrintable(run.out));
        QCOMPARE(unit.writesReceived(), 3);
    }

    // A line end in a unit's text is named, not sent to the terminal.
    void aControlByteInAUnitTextIsNamed() {
        SimulatedUnit unit;
        QVERIFY(unit.start());
        const QString file = prepare(unit, {});
        unit.setText(7, "ABCDEFGHIJKLMNO\r");
        const CliRun run = runCli(
            {QStringLiteral("--porta"), unit.devicePath(), QStringLiteral("confronta"), file});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QStringLiteral("007 file «TESTO 007       » unità «ABCDEFGHIJKLMNO⟨0D⟩»\n"
                                         "511 testi uguali, 1 diverso\n"));
    }

    void aCopyThatCannotBeSavedStopsAFullProgramming() {
        SimulatedUnit unit;
        QVERIFY(unit.start());
        const QString file = prepare(unit, {1});
        const QString copy = m_folder.filePath(QStringLiteral("manca/copia.tvo"));
        const CliRun run = runCli({QStringLiteral("--porta"), unit.devicePath(),
                                   QStringLiteral("invia"), file, QStringLiteral("--copia"), copy});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(unit.writesReceived(), 0);
    }
};

QTEST_MAIN(TestCliDifferingTexts)
#include "tst_differingtexts.moc"
