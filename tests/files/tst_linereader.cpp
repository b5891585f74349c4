#include "files/LineReader.h"

#include "TempFiles.h"

#include <QFile>
#include <QTest>

#include <limits>

// A line as the test expects it: its text and whether it is the file's last.
using ExpectedLines = QList<QPair<QByteArray, bool>>;

class TestLineReader : public QObject {
    Q_OBJECT

  private slots:
    void lines_data();
    void lines();
    void missingFile();
    void readError();

  private:
    TempFolder m_folder;
};

void TestLineReader::lines_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qsizetype>("maxLength");
    QTest::addColumn<ExpectedLines>("expectedLines");

    constexpr qsizetype everything = std::numeric_limits<qsizetype>::max();
    const QByteArray longLine(70000, 'x');
    QTest::newRow("CR LF") << QByteArray("uno\r\ndue\r\n") << everything
                           << ExpectedLines{{"uno", false}, {"due", true}};
    QTest::newRow("LF") << QByteArray("uno\ndue\n") << everything
                        << ExpectedLines{{"uno", false}, {"due", true}};
    QTest::newRow("CR") << QByteArray("uno\rdue\r") << everything
                        << ExpectedLines{{"uno", false}, {"due", true}};
    QTest::newRow("misti") << QByteArray("a\r\nb\nc\rd") << everything
                           << ExpectedLines{{"a", false}, {"b", false}, {"c", false}, {"d", true}};
    QTest::newRow("LF CR sono due fine riga")
        << QByteArray("a\n\rb\r\n") << everything
        << ExpectedLines{{"a", false}, {"", false}, {"b", true}};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << everything
                              << ExpectedLines{{"a", false}, {"", false}, {"b", true}};
    QTest::newRow("senza fine riga")
        << QByteArray("uno") << everything << ExpectedLines{{"uno", true}};
    QTest::newRow("solo fine riga")
        << QByteArray("\r\n") << everything << ExpectedLines{{"", true}};
    QTest::newRow("righe vuote") << QByteArray("\r\n\r\n\r\nx\r\n") << everything
                                 << ExpectedLines{
                                        {"", false}, {"", false}, {"", false}, {"x", true}};
    QTest::newRow("riga vuota in fondo")
        << QByteArray("a\r\n\r\n") << everything << ExpectedLines{{"a", false}, {"", true}};
    QTest::newRow("file vuoto") << QByteArray() << everything << ExpectedLines{};
    QTest::newRow("tagliate") << QByteArray("0123456789\r\n01\r\n0123") << qsizetype(3)
                              << ExpectedLines{{"012", false}, {"01", false}, {"012", true}};
    QTest::newRow("niente tenuto")
        << QByteArray("abc\r\ndef\r\n") << qsizetype(0) << ExpectedLines{{"", false}, {"", true}};
    QTest::newRow("riga lunga") << longLine + "\r\nfine" << everything
                                << ExpectedLines{{longLine, false}, {"fine", true}};
    QTest::newRow("riga lunga tagliata")
        << longLine + "\r\nfine\r\n"
        << qsizetype(69) << ExpectedLines{{longLine.left(69), false}, {"fine", true}};
    QTest::newRow("byte 0 e 128-255") << QByteArray("\x00\x80\xe8\xff\r\n", 6) << everything
                                      << ExpectedLines{{QByteArray("\x00\x80\xe8\xff", 4), true}};
}

void TestLineReader::lines() {
    QFETCH(QByteArray, content);
    QFETCH(qsizetype, maxLength);
    QFETCH(ExpectedLines, expectedLines);
    const QString path = m_folder.write(content);
    // Blocks of several sizes put line ends on both sides of a block boundary,
    // the CR and the LF of one CR LF included.
    for (const qsizetype blockSize : {1, 2, 3, 7, 64 * 1024}) {
        LineReader reader(path, blockSize);
        QVERIFY(reader.open());
        ExpectedLines gotLines;
        while (const auto line = reader.read(maxLength))
            gotLines.append({line->text, line->last});
        QVERIFY2(gotLines == expectedLines,
                 qPrintable(QStringLiteral("blocchi di %1").arg(blockSize)));
        QVERIFY(reader.error().isEmpty());
    }
}

void TestLineReader::missingFile() {
    LineReader reader(m_folder.filePath("mancante.tvo"));
    QVERIFY(!reader.open());
    QVERIFY(!reader.isOpen());
    QVERIFY2(reader.error().contains("mancante.tvo") && reader.error().contains("non esiste"),
             qPrintable(reader.error()));
    QVERIFY(!reader.read(100));
}

void TestLineReader::readError() {
    // Opening the process's own memory succeeds; reading it at offset 0 fails.
    LineReader reader(QStringLiteral("/proc/self/mem"));
    if (!reader.open())
        QSKIP("/proc/self/mem cannot be opened here");
    QVERIFY(!reader.read(100));
    QVERIFY(!reader.isOpen());
    QVERIFY2(reader.error().startsWith("Errore di lettura del file /proc/self/mem: "),
             qPrintable(reader.error()));
}

QTEST_MAIN(TestLineReader)
#include "tst_linereader.moc"
