#include "files/LineReader.h"

#include "FileErrorCases.h"
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
    void errors_data();
    void errors();

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

void TestLineReader::errors_data() {
    addFileErrorRows(m_folder, false);
}

// A file that opens but cannot be read (the process's own memory) fails at
// its first read.
void TestLineReader::errors() {
    QFETCH(QString, path);
    QFETCH(QString, expectedValue);
    LineReader reader(path);
    if (reader.open())
        QVERIFY(!reader.read(100));
    QCOMPARE(reader.error(), expectedValue);
    QVERIFY(!reader.isOpen());
    QVERIFY(!reader.read(100));
}

QTEST_MAIN(TestLineReader)
#include "tst_linereader.moc"
