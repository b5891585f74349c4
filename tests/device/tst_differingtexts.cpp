#include "DeviceFixture.h"
#include "MessageFiles.h"
#include "device/CompareTexts.h"
#include "device/ProgrammingFile.h"
#include "device/WriteDifferingTexts.h"
#include "files/RecordLayout.h"
#include "files/UnitCopies.h"

#include <QtTest>

namespace {

QByteArray readFrame(int address) {
    return "&C10R" + QByteArray::number(address).rightJustified(3, '0') + '\r';
}

QByteArray writeFrame(const QByteArray& record) {
    return "&C10W016" + record.leftJustified(19) + '\r';
}

// A file sending every address, "TESTO nnn", and a unit holding it except at
// the given addresses.
QByteArray fullFile(DeviceFixture& f, const QList<int>& differing) {
    QByteArrayList lines;
    for (int address = 0; address < 512; ++address) {
        const QByteArray digits = QByteArray::number(address).rightJustified(3, '0');
        lines += digits + "TESTO " + digits;
        f.unit.setText(address,
                       differing.contains(address) ? "VECCHIO " + digits : "TESTO " + digits);
    }
    return fileOf(lines);
}

} // namespace

// Comparing and writing only the differing texts against a simulated unit:
// which frames go out, in what order, and what the unit and the copy hold.
class TestDifferingTexts : public QObject {
    Q_OBJECT
    QTemporaryDir m_dataHome;

  private slots:
    // The copies go to a data folder of this test's own, which other tests
    // running meanwhile do not share.
    void initTestCase() {
        QVERIFY(m_dataHome.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome.path()));
    }

    // The program's copies are kept side by side: one taken in the same
    // second as another gets a name of its own, and a folder that cannot be
    // made is said before any copy is taken.
    void noCopyIsNamedAfterAnother() {
        const QDir folder(UnitCopies::folder());
        QVERIFY(folder.path().startsWith(m_dataHome.path()));
        const QDateTime when(QDate(2026, 12, 9), QTime(10, 30, 5));
        std::vector<UnitCopies::NewCopy> held;
        QStringList names;
        for (int copy = 0; copy < 3; ++copy) {
            held.push_back(UnitCopies::newCopy("&C1", when));
            QCOMPARE(held.back().problem, QString());
            names += QFileInfo(held.back().file.path()).fileName();
        }
        QCOMPARE(names, (QStringList{"20261209-103005-&C1.tvo", "20261209-103005-&C1-2.tvo",
                                     "20261209-103005-&C1-3.tvo"}));
        // Each name is taken on the disk while its copy is being read, yet
        // listed as no copy; let go unwritten, no file is left.
        QCOMPARE(folder.entryList(QDir::Files).size(), 3);
        QVERIFY(UnitCopies::list().isEmpty());
        held.clear();
        QCOMPARE(folder.entryList(QDir::Files), QStringList());

        QVERIFY(QDir(folder).removeRecursively());
        QFile blocking(QFileInfo(folder.path()).path());
        QVERIFY(QDir(blocking.fileName()).removeRecursively());
        QVERIFY(blocking.open(QIODevice::WriteOnly));
        const UnitCopies::NewCopy refused = UnitCopies::newCopy("&C1", when);
        QVERIFY(!refused.file.held());
        QVERIFY(refused.problem.startsWith("Non si può creare la cartella delle copie"));
        QVERIFY(blocking.remove());
    }

    // Texts are judged by address and on all 16 characters: 011 differs only
    // in its last one.
    void compareReadsTheFileAddressesAndWritesOnlyTheDiffering() {
        DeviceFixture f;
        f.unit.setText(7, "ALTRO");
        f.unit.setText(3, "FINALE");
        f.unit.setText(11, "UNDICI         X");
        // Address 003 is sent twice: the later text is what programming leaves.
        f.selectFile(fileOf({"007SETTE", "003PRIMA", "nota", "003FINALE", "005  ", "011UNDICI"}));
        TextComparison comparison;
        QCOMPARE(CompareTexts(f.v, f.exchange, f.host, f.selected(), comparison).ending,
                 OperationOutcome::Ending::Done);
        const QByteArrayList reads{readFrame(3), readFrame(5), readFrame(7), readFrame(11)};
        QCOMPARE(f.unit.frames(), reads);
        QCOMPARE(comparison.equal, 2);
        QCOMPARE(comparison.differing.size(), 2);
        QCOMPARE(comparison.differing[0].address, 7);
        QCOMPARE(comparison.differing[0].fileText, QByteArray("SETTE           "));
        QCOMPARE(comparison.differing[0].unitText, QByteArray("ALTRO           "));
        QCOMPARE(comparison.differing[1].address, 11);
        QCOMPARE(f.exchange.trace().at(4).note, QStringLiteral("diverso dal file"));
        QCOMPARE(f.text2(), QByteArray("2 testi uguali, 2 diversi"));
        QVERIFY(!f.portOpen());

        DifferingWriteSummary summary;
        QCOMPARE(writeDifferingTexts(f.v, f.exchange, f.host, f.selected(), {}, summary).ending,
                 OperationOutcome::Ending::Done);
        const QByteArrayList writes{writeFrame("007SETTE"), writeFrame("011UNDICI"), readFrame(7),
                                    readFrame(11)};
        QCOMPARE(f.unit.frames().mid(reads.size()), reads + writes);
        QCOMPARE(summary.written, 2);
        QCOMPARE(summary.equal, 2);
    }

    // A file may send 591 records, repeating addresses; one more is refused
    // before the first frame, by programming's check and by every operation.
    void theRecordLimitHoldsForEveryOperation_data() {
        QTest::addColumn<int>("records");
        QTest::newRow("591") << 591;
        QTest::newRow("592") << 592;
    }
    void theRecordLimitHoldsForEveryOperation() {
        QFETCH(int, records);
        DeviceFixture f;
        QByteArrayList lines;
        for (int i = 0; i < records; ++i)
            lines += RecordLayout::addressText(i % 512) + "TESTO";
        const QString path = f.selectFile(fileOf(lines));
        const bool accepted = records <= 591;
        QCOMPARE(ProgrammingFile::read(path).problem.isEmpty(), accepted);
        TextComparison comparison;
        QCOMPARE(CompareTexts(f.v, f.exchange, f.host, f.selected(), comparison).ending,
                 accepted ? OperationOutcome::Ending::Done : OperationOutcome::Ending::CannotStart);
        QCOMPARE(f.unit.framesReceived(), accepted ? 512 : 0);
    }

    // The identifier box may change during a run; every frame still goes to
    // the unit the run started with.
    void everyFrameGoesToTheUnitTheRunStartedWith_data() {
        QTest::addColumn<bool>("compareOnly");
        QTest::addColumn<bool>("withCopy");
        QTest::addColumn<int>("frames");
        QTest::newRow("compare") << true << false << 2;
        QTest::newRow("write only the differing") << false << false << 2 + 2 + 2;
        QTest::newRow("with a copy") << false << true << 512 + 2 + 2;
    }
    void everyFrameGoesToTheUnitTheRunStartedWith() {
        QFETCH(bool, compareOnly);
        QFETCH(bool, withCopy);
        QFETCH(int, frames);
        DeviceFixture f;
        f.selectFile(fileOf({"000UNO", "001DUE"}));
        connect(&f.unit, &SimulatedUnit::frameReceived, this, [&f] {
            if (f.unit.framesReceived() == 1)
                f.v.Identificativo = "&C9";
        });
        DifferingWriteOptions copy;
        if (withCopy)
            copy.copyPath = f.folder.filePath(QStringLiteral("copia.tvo"));
        TextComparison comparison;
        DifferingWriteSummary summary;
        QCOMPARE(
            compareOnly
                ? CompareTexts(f.v, f.exchange, f.host, f.selected(), comparison).ending
                : writeDifferingTexts(f.v, f.exchange, f.host, f.selected(), copy, summary).ending,
            OperationOutcome::Ending::Done);
        QCOMPARE(f.unit.framesReceived(), frames);
        for (const QByteArray& frame : f.unit.frames())
            QVERIFY2(frame.startsWith("&C10"), frame.constData());
    }

    void copyThenWritesAndReadsBackOnlyTheDiffering() {
        DeviceFixture f;
        f.selectFile(fullFile(f, {4, 200, 511}));
        const QByteArray before = f.unit.text(200);
        const QString copy = f.folder.filePath(QStringLiteral("copia.tvo"));
        DifferingWriteSummary summary;
        QCOMPARE(
            writeDifferingTexts(f.v, f.exchange, f.host, f.selected(), {copy, "prima"}, summary)
                .ending,
            OperationOutcome::Ending::Done);

        QByteArrayList expected;
        for (int address = 0; address < 512; ++address)
            expected += readFrame(address);
        for (int address : {4, 200, 511})
            expected += writeFrame(QByteArray::number(address).rightJustified(3, '0') + "TESTO " +
                                   QByteArray::number(address).rightJustified(3, '0'));
        for (int address : {4, 200, 511})
            expected += readFrame(address);
        QCOMPARE(f.unit.frames(), expected);
        QCOMPARE(summary.written, 3);
        QCOMPARE(summary.equal, 509);
        QCOMPARE(f.host.text2, QStringLiteral("scritti 3 testi, 509 erano già uguali"));
        QCOMPARE(f.unit.text(200), QByteArray("TESTO 200       "));
        const QByteArray saved = contentOf(copy);
        QVERIFY(saved.startsWith("prima\r\n000TESTO 000       *\r\n"));
        QVERIFY(saved.contains("\r\n200" + before + "*\r\n"));
        QVERIFY(saved.endsWith("511VECCHIO 511     *\r\n\r\nend\r\n"));
        QVERIFY(f.host.acknowledgements.isEmpty());
        const LineTrace& trace = f.exchange.trace();
        QVERIFY(trace.at(0).operation.startsWith(QStringLiteral("Invia solo i testi diversi: ")));
        QCOMPARE(trace.at(4).note, QStringLiteral("copia; uguale al file, non riscritto"));
        QCOMPARE(trace.at(5).note, QStringLiteral("copia; diverso dal file"));
        QCOMPARE(trace.at(513).note, QStringLiteral("scritto perché diverso"));
        QCOMPARE(trace.at(516).note, QStringLiteral("rilettura del testo scritto"));

        // Once equal, only the file's addresses are read and nothing is written.
        const int framesBefore = f.unit.framesReceived();
        QCOMPARE(writeDifferingTexts(f.v, f.exchange, f.host, f.selected(), {}, summary).ending,
                 OperationOutcome::Ending::Done);
        QCOMPARE(f.unit.framesReceived() - framesBefore, 512);
        QCOMPARE(f.unit.writesReceived(), 3);
        QCOMPARE(summary.written, 0);
        QVERIFY(f.text2().startsWith("nessun testo diverso"));
    }

    // Whatever stops the copy, nothing is written to the unit and no copy is
    // left; what can be known before the first frame is refused there.
    void aCopyThatFailsLeavesTheUnitAlone_data() {
        QTest::addColumn<int>("silentFrom");
        QTest::addColumn<int>("lineFeedAt");
        QTest::addColumn<QString>("copyName");
        QTest::addColumn<QString>("error");
        QTest::newRow("unit silent while copying")
            << 300 << -1 << QStringLiteral("copia.tvo") << " Errore risposta ";
        QTest::newRow("text with a line feed")
            << 0 << 42 << QStringLiteral("copia.tvo") << "Testo del TARVO non salvabile.";
        QTest::newRow("copy in a missing folder")
            << 0 << -1 << QStringLiteral("no/copia.tvo") << QString();
        QTest::newRow("copy onto the file to send")
            << 0 << -1 << QStringLiteral("./nuovi.tvo") << QString();
    }
    void aCopyThatFailsLeavesTheUnitAlone() {
        QFETCH(int, silentFrom);
        QFETCH(int, lineFeedAt);
        QFETCH(QString, copyName);
        QFETCH(QString, error);
        SimulatedUnit::Options options;
        options.silentFrom = silentFrom;
        DeviceFixture f(options);
        const QByteArray file = fullFile(f, {1});
        if (lineFeedAt >= 0)
            f.unit.setText(lineFeedAt, "DUE\nRIGHE");
        const QString sent = f.folder.filePath(QStringLiteral("nuovi.tvo"));
        QVERIFY(writeFile(sent, file));
        f.v.FileSelezionato = QFile::encodeName(sent);
        const QString copy = f.folder.filePath(copyName);
        DifferingWriteSummary summary;
        const OperationOutcome::Ending result =
            writeDifferingTexts(f.v, f.exchange, f.host, f.selected(), {copy, "c"}, summary).ending;
        QCOMPARE(result, error.isEmpty() ? OperationOutcome::Ending::CannotStart
                                         : OperationOutcome::Ending::Failed);
        QCOMPARE(f.unit.writesReceived(), 0);
        QCOMPARE(contentOf(sent), file);
        QVERIFY(!f.portOpen());
        if (error.isEmpty()) {
            QCOMPARE(f.unit.framesReceived(), 0);
            QVERIFY(f.host.acknowledgements.isEmpty());
            return;
        }
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(f.host.acknowledgements.size(), 1);
        QCOMPARE(f.host.acknowledgements[0].error, error);
        // The lower box says the unit was left alone; the failure names the
        // frame it happened on.
        QVERIFY2(f.host.acknowledgements[0].text2.endsWith(QStringLiteral("Nessun testo scritto")),
                 qPrintable(f.host.acknowledgements[0].text2));
        QCOMPARE(f.host.failures.size(), 1);
        QCOMPARE(f.host.failures[0].phase, RunProgress::Phase::Backup);
        QCOMPARE(f.host.failures[0].address,
                 RecordLayout::addressText(lineFeedAt >= 0 ? lineFeedAt : silentFrom - 1));
    }

    // What the run says it did; the writes' progress counts the differing
    // texts only.
    void theOutcomeCountsWhatWasWritten_data() {
        QTest::addColumn<QByteArrayList>("file");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("none was equal")
            << QByteArrayList{"000UNO", "001DUE"}
            << QStringLiteral("scritti 2 testi, nessuno era già uguale");
        QTest::newRow("one was equal") << QByteArrayList{"000UNO", "005UGUALE"}
                                       << QStringLiteral("scritto 1 testo, 1 era già uguale");
    }
    void theOutcomeCountsWhatWasWritten() {
        QFETCH(QByteArrayList, file);
        QFETCH(QString, outcome);
        DeviceFixture f;
        f.unit.setText(5, "UGUALE");
        f.selectFile(fileOf(file));
        DifferingWriteSummary summary;
        QCOMPARE(writeDifferingTexts(f.v, f.exchange, f.host, f.selected(), {}, summary).ending,
                 OperationOutcome::Ending::Done);
        QCOMPARE(f.host.text2, outcome);
        int writes = 0;
        for (const RunProgress& shown : std::as_const(f.host.progress))
            if (shown.phase == RunProgress::Phase::Writing) {
                ++writes;
                QCOMPARE(shown.total, summary.written);
            }
        QCOMPARE(writes, summary.written);
    }

    // A stop is placed in the phase and at the address of its frame; before
    // anything is written the lower box says so.
    void aStopNamesItsPhase_data() {
        QTest::addColumn<bool>("compareOnly");
        QTest::addColumn<int>("silentFrom");
        QTest::addColumn<RunProgress::Phase>("phase");
        // Both texts differ: frames R000 R001, then W000 W001 and R000 R001.
        QTest::newRow("compare") << true << 2 << RunProgress::Phase::Comparison;
        QTest::newRow("reading before the writes") << false << 2 << RunProgress::Phase::Comparison;
        QTest::newRow("writing") << false << 4 << RunProgress::Phase::Writing;
        QTest::newRow("reading back") << false << 6 << RunProgress::Phase::Verifying;
    }
    void aStopNamesItsPhase() {
        QFETCH(bool, compareOnly);
        QFETCH(int, silentFrom);
        QFETCH(RunProgress::Phase, phase);
        SimulatedUnit::Options options;
        options.silentFrom = silentFrom;
        DeviceFixture f(options);
        f.selectFile(fileOf({"000UNO", "001DUE"}));
        TextComparison comparison;
        DifferingWriteSummary summary;
        QCOMPARE(
            compareOnly
                ? CompareTexts(f.v, f.exchange, f.host, f.selected(), comparison).ending
                : writeDifferingTexts(f.v, f.exchange, f.host, f.selected(), {}, summary).ending,
            OperationOutcome::Ending::Failed);
        QCOMPARE(f.host.failures.size(), 1);
        QCOMPARE(f.host.failures[0].phase, phase);
        QCOMPARE(f.host.failures[0].address, QByteArray("001"));
        QCOMPARE(f.host.acknowledgements.size(), 1);
        QCOMPARE(f.host.acknowledgements[0].text2.endsWith(QStringLiteral("Nessun testo scritto")),
                 phase == RunProgress::Phase::Comparison);
    }

    void aRefusedWriteEndsAsProgrammingDoes() {
        SimulatedUnit::Options options;
        options.refuseWriteFrom = 2;
        DeviceFixture f(options);
        f.unit.setText(9, "NOVE");
        f.selectFile(fileOf({"001UNO", "002DUE", "009NOVE", "003TRE"}));
        DifferingWriteSummary summary;
        QCOMPARE(writeDifferingTexts(f.v, f.exchange, f.host, f.selected(), {}, summary).ending,
                 OperationOutcome::Ending::Failed);
        QCOMPARE(f.host.acknowledgements.size(), 1);
        QCOMPARE(f.host.acknowledgements[0].error, QStringLiteral(" Errore risposta "));
        QCOMPARE(f.unit.frames().mid(4),
                 (QByteArrayList{writeFrame("001UNO"), writeFrame("002DUE")}));
    }
};

QTEST_MAIN(TestDifferingTexts)
#include "tst_differingtexts.moc"
