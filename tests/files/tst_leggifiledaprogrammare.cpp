#include "files/LeggiFileDaProgrammare.h"

#include "AsUnprivilegedUser.h"
#include "FileErrorCases.h"
#include "TempFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/resource.h>

namespace {

long peakMemoryKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QByteArrayList readAllRecords(LeggiFileDaProgrammare& reader) {
    QByteArrayList records;
    while (const auto r = reader.next())
        records.append(r->record);
    return records;
}

} // namespace

class TestLeggiFileDaProgrammare : public QObject {
    Q_OBJECT

  private slots:
    void records_data();
    void records();
    void fullReadFile();
    void opensAtFirstRequest();
    void closedWhenReadingEnds_data();
    void closedWhenReadingEnds();
    void earlyStop();
    void closedByDestructor();
    void errors_data();
    void errors();
    void permissionDenied();
    void largeFileReadByLines();

  private:
    TempFolder m_folder;
};

void TestLeggiFileDaProgrammare::records_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArrayList>("expectedRecords");

    const QByteArrayList sample = sampleFileLines();
    const QByteArrayList expectedSample{"000BENVENUTI       ", "001PORTA APERTA    ",
                                        "002ALLARME         "};
    QTest::newRow("esempio") << joinLines(sample) << expectedSample;
    QTest::newRow("esempio, righe finite da LF") << joinLines(sample, "\n") << expectedSample;
    QTest::newRow("esempio, righe finite da CR") << joinLines(sample, "\r") << expectedSample;
    QTest::newRow("esempio, senza fine riga in fondo")
        << joinLines(sample).chopped(2) << expectedSample;

    QTest::newRow("corpo vuoto") << joinLines({"Commento", "", "end"}) << QByteArrayList{};
    QTest::newRow("un messaggio senza end") << joinLines({"C", "005TESTO"}) << QByteArrayList{};
    QTest::newRow("un messaggio senza end ne fine riga")
        << QByteArray("C\r\n005TESTO") << QByteArrayList{};
    QTest::newRow("un messaggio con end")
        << joinLines({"C", "005TESTO", "end"}) << QByteArrayList{"005TESTO           "};
    QTest::newRow("end senza fine riga")
        << QByteArray("C\r\n005TESTO\r\nend") << QByteArrayList{"005TESTO           "};
    QTest::newRow("ultimo messaggio seguito da riga vuota")
        << joinLines({"C", "005TESTO", ""}) << QByteArrayList{"005TESTO           "};
    QTest::newRow("senza terminatore l'ultima riga si perde")
        << joinLines({"C", "001A", "002B", "003C"})
        << QByteArrayList{"001A               ", "002B               "};
    QTest::newRow("una riga") << joinLines({"000COMMENTO"}) << QByteArrayList{};
    QTest::newRow("una riga senza fine riga") << QByteArray("000COMMENTO") << QByteArrayList{};
    QTest::newRow("commento che sembra un messaggio")
        << joinLines({"000COMMENTO", "001A", "end"}) << QByteArrayList{"001A               "};

    QTest::newRow("endless termina") << joinLines({"C", "001A", "endless", "002B", "end"})
                                     << QByteArrayList{"001A               "};
    QTest::newRow("END termina") << joinLines({"C", "001A", "END", "002B", "end"})
                                 << QByteArrayList{"001A               "};
    QTest::newRow("End non termina")
        << joinLines({"C", "001A", "End", "EnD", "eND", "002B", "end"})
        << QByteArrayList{"001A               ", "002B               "};
    QTest::newRow("en non termina")
        << joinLines({"C", "en", "001A", "end"}) << QByteArrayList{"001A               "};
    QTest::newRow("end nel testo")
        << joinLines({"C", "001end", "end"}) << QByteArrayList{"001end             "};

    QTest::newRow("solo indirizzo 007")
        << joinLines({"C", "007", "end"}) << QByteArrayList{"007                "};
    QTest::newRow("riga di 30 caratteri")
        << joinLines({"C", "012ABCDEFGHIJKLMNOPQRSTUVWXYZ0", "end"})
        << QByteArrayList{"012ABCDEFGHIJKLMNOP"};
    QTest::newRow("riga di 19 caratteri")
        << joinLines({"C", "0121234567890123456", "end"}) << QByteArrayList{"0121234567890123456"};
    QTest::newRow("511 e 512") << joinLines({"C", "512NO", "511SI", "999NO", "000SI", "end"})
                               << QByteArrayList{"511SI              ", "000SI              "};
    QTest::newRow("righe senza indirizzo")
        << joinLines({"C", "5", "51", "   ", "  5X", "+12X", "-12X", " 12X", "1 2X", "12aX", "---",
                      "---001", "nota", "\xb2\xb3\xb9X", "1.5", "6e2", "end"})
        << QByteArrayList{};
    QTest::newRow("indirizzi ripetuti")
        << joinLines({"C", "001A", "001B", "end"})
        << QByteArrayList{"001A               ", "001B               "};
    QTest::newRow("byte 128-255 e 0")
        << joinLines({"\xe8\xe0\xf9", QByteArray("001\x80\xe8\xff\x00Z", 8), "end"})
        << QByteArrayList{QByteArray("001\x80\xe8\xff\x00Z           ", 19)};
    QTest::newRow("fine riga miste")
        << QByteArray("C\n001A\r002B\r\n\n003C\r\nend\n")
        << QByteArrayList{"001A               ", "002B               ", "003C               "};
}

void TestLeggiFileDaProgrammare::records() {
    QFETCH(QByteArray, content);
    QFETCH(QByteArrayList, expectedRecords);
    LeggiFileDaProgrammare reader(m_folder.write(content));
    QCOMPARE(readAllRecords(reader), expectedRecords);
    QCOMPARE(reader.error(), QString());
    QVERIFY(!reader.isOpen());
}

void TestLeggiFileDaProgrammare::fullReadFile() {
    // The layout that reading all texts from the unit produces.
    QByteArrayList lineList{"Letti dal TARVO"};
    QByteArrayList expectedRecords;
    for (int address = 0; address < 512; ++address) {
        const QByteArray text = QByteArray("TESTO \xe8 ") + QByteArray::number(address * 7);
        const QByteArray records =
            QByteArray::number(address).rightJustified(3, '0') + text.leftJustified(16, ' ');
        lineList.append(records + "*");
        expectedRecords.append(records);
    }
    lineList.append("");
    lineList.append("end");
    LeggiFileDaProgrammare reader(m_folder.write(joinLines(lineList)));
    const QByteArrayList got = readAllRecords(reader);
    QCOMPARE(got.size(), 512);
    QCOMPARE(got, expectedRecords);
}

void TestLeggiFileDaProgrammare::opensAtFirstRequest() {
    const QString path = m_folder.write(joinLines({"C", "001A", "002B", "end"}));
    LeggiFileDaProgrammare reader(path);
    QVERIFY(!reader.isOpen());
    QCOMPARE(openDescriptors(path), 0);
    QCOMPARE(reader.next(), std::optional(ProgrammingRecord{1, "001A               "}));
    QVERIFY(reader.isOpen());
    QCOMPARE(openDescriptors(path), 1);
}

void TestLeggiFileDaProgrammare::closedWhenReadingEnds_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("al terminatore") << joinLines({"C", "001A", "end", "002B", "003C"});
    QTest::newRow("alla fine del file") << joinLines({"C", "001A", "002B"});
    QTest::newRow("file di una riga") << joinLines({"C"});
}

void TestLeggiFileDaProgrammare::closedWhenReadingEnds() {
    QFETCH(QByteArray, content);
    const QString path = m_folder.write(content);
    LeggiFileDaProgrammare reader(path);
    readAllRecords(reader);
    QVERIFY(!reader.isOpen());
    QCOMPARE(openDescriptors(path), 0);
    QVERIFY(!reader.next());
}

void TestLeggiFileDaProgrammare::earlyStop() {
    const QString path = m_folder.write(joinLines({"C", "001A", "002B", "003C", "end"}));
    LeggiFileDaProgrammare reader(path);
    QCOMPARE(reader.next(), std::optional(ProgrammingRecord{1, "001A               "}));
    QCOMPARE(openDescriptors(path), 1);
    reader.stop();
    QVERIFY(!reader.isOpen());
    QCOMPARE(openDescriptors(path), 0);
    QVERIFY(!reader.next());
    QVERIFY(!reader.isOpen());
    QCOMPARE(reader.error(), QString());

    LeggiFileDaProgrammare neverRead(path);
    neverRead.stop();
    QVERIFY(!neverRead.next());
    QCOMPARE(openDescriptors(path), 0);
}

void TestLeggiFileDaProgrammare::closedByDestructor() {
    const QString path = m_folder.write(joinLines({"C", "001A", "002B", "end"}));
    {
        LeggiFileDaProgrammare reader(path);
        QVERIFY(reader.next());
        QCOMPARE(openDescriptors(path), 1);
    }
    QCOMPARE(openDescriptors(path), 0);
}

void TestLeggiFileDaProgrammare::errors_data() {
    addFileErrorRows(m_folder, true);
}

void TestLeggiFileDaProgrammare::errors() {
    QFETCH(QString, path);
    QFETCH(QString, expectedValue);
    LeggiFileDaProgrammare reader(path);
    QVERIFY(!reader.next());
    QCOMPARE(reader.error(), expectedValue);
    QVERIFY(!reader.isOpen());
    QVERIFY(!reader.next());
}

void TestLeggiFileDaProgrammare::permissionDenied() {
    const QString path = m_folder.write(joinLines({"C", "001A", "end"}));
    // Anyone may enter the folder, no one may read the file: checked as an
    // ordinary user, since root reads it anyway.
    QVERIFY(
        QFile::setPermissions(m_folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner | QFileDevice::ExeOther));
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    const std::optional<QByteArray> error = runAsUnprivilegedUser([&] {
        LeggiFileDaProgrammare reader(path);
        const QByteArray read = reader.next() ? "letto " : "";
        return read + reader.error().toUtf8();
    });
    QVERIFY(error);
    QCOMPARE(QString::fromUtf8(*error),
             QStringLiteral("Impossibile aprire il file %1: permesso negato")
                 .arg(QDir::toNativeSeparators(path)));
}

void TestLeggiFileDaProgrammare::largeFileReadByLines() {
    // 64 MB in one line without a line end, then two records: a reader that
    // loaded the file or the line whole would grow by at least that much.
    constexpr qsizetype megabyte = 1024 * 1024;
    const QString path = m_folder.filePath("grande.tvo");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("C\r\n001");
        const QByteArray blockSize(megabyte, 'x');
        for (int i = 0; i < 64; ++i)
            QCOMPARE(file.write(blockSize), megabyte);
        file.write("\r\n002B\r\nend\r\n");
    }
    const long beforeKb = peakMemoryKb();
    LeggiFileDaProgrammare reader(path);
    QCOMPARE(readAllRecords(reader),
             (QByteArrayList{"001xxxxxxxxxxxxxxxx", "002B               "}));
    const long growthKb = peakMemoryKb() - beforeKb;
    QVERIFY2(growthKb < 16 * 1024, qPrintable(QStringLiteral("%1 kB").arg(growthKb)));
    QFile::remove(path);
}

QTEST_MAIN(TestLeggiFileDaProgrammare)
#include "tst_leggifiledaprogrammare.moc"
