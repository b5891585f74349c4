#include "files/LineReader.h"
#include "files/LocalFileName.h"

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
    void fileNamesKeepEveryByte_data();
    void fileNamesKeepEveryByte();

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

// Every file name comes back byte for byte; valid UTF-8 reads as UTF-8,
// anything else as the Windows-1252 characters it stood for.
void TestLineReader::fileNamesKeepEveryByte_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("readable");
    // U+10080 is held as a pair whose second half looks like a kept byte.
    QTest::newRow("UTF-8") << QByteArray("caff\xc3\xa8 \xf0\x90\x82\x80.tvo")
                           << QStringLiteral("caff\u00e8 \U00010080.tvo");
    QTest::newRow("Latin-1") << QByteArray("lat\xe9.tvo") << QStringLiteral("lat\u00e9.tvo");
    QTest::newRow("overlong") << QByteArray("\xc0\xaf") << QStringLiteral("\u00c0\u00af");
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80")
                               << QStringLiteral("\u00ed\u00a0\u20ac");
    QTest::newRow("beyond U+10FFFF")
        << QByteArray("\xf4\x90\x80\x80") << QStringLiteral("\u00f4\u0090\u20ac\u20ac");
    QTest::newRow("cut short") << QByteArray("a\xe2\x82") << QStringLiteral("a\u00e2\u201a");
}

void TestLineReader::fileNamesKeepEveryByte() {
    QFETCH(QByteArray, name);
    QFETCH(QString, readable);
    const QString held = LocalFileName::decode(name);
    QCOMPARE(LocalFileName::encode(held), name);
    QCOMPARE(LocalFileName::readable(held), readable);
}

QTEST_MAIN(TestLineReader)
#include "tst_linereader.moc"
