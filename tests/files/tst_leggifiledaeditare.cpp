#include "files/LeggiFileDaEditare.h"

#include "AsUnprivilegedUser.h"
#include "FileErrorCases.h"
#include "TempFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestLeggiFileDaEditare : public QObject {
    Q_OBJECT

  private slots:
    void text_data();
    void text();
    void fullReadFile();
    void closesTheFile();
    void linesNotShown_data();
    void linesNotShown();
    void errors_data();
    void errors();
    void permissionDenied();

  private:
    TempFolder m_folder;
};

void TestLeggiFileDaEditare::text_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("hasComment");
    QTest::addColumn<QByteArray>("comment");
    QTest::addColumn<QByteArray>("text");

    const QByteArrayList sample = sampleFileLines();
    const QByteArray sampleComment = "Ingresso magazzino, versione 2";
    const QByteArray sampleText = "000BENVENUTI       *\r\n"
                                  "001PORTA APERTA    controllare il sensore\r\n"
                                  "002ALLARME         \r\n"
                                  "nota: testi provvisori\r\n";
    QTest::newRow("esempio") << joinLines(sample) << true << sampleComment << sampleText;
    QTest::newRow("esempio, righe finite da LF")
        << joinLines(sample, "\n") << true << sampleComment << sampleText;
    QTest::newRow("esempio, righe finite da CR")
        << joinLines(sample, "\r") << true << sampleComment << sampleText;

    QTest::newRow("corpo vuoto") << joinLines({"Commento", "", "end"}) << true
                                 << QByteArray("Commento") << QByteArray();
    QTest::newRow("un messaggio senza end")
        << joinLines({"C", "005TESTO"}) << true << QByteArray("C") << QByteArray();
    QTest::newRow("un messaggio con end")
        << joinLines({"C", "005TESTO", "end"}) << true << QByteArray("C")
        << QByteArray("005TESTO           \r\n");
    QTest::newRow("una riga") << joinLines({"000COMMENTO"}) << false << QByteArray()
                              << QByteArray();
    QTest::newRow("una riga senza fine riga")
        << QByteArray("000COMMENTO") << false << QByteArray() << QByteArray();
    QTest::newRow("commento vuoto") << joinLines({"", "001A", "end"}) << true << QByteArray()
                                    << QByteArray("001A               \r\n");
    QTest::newRow("senza terminatore l'ultima riga si perde")
        << joinLines({"C", "001A", "nota"}) << true << QByteArray("C")
        << QByteArray("001A               \r\n");

    QTest::newRow("endless termina") << joinLines({"C", "001A", "endless", "002B", "end"}) << true
                                     << QByteArray("C") << QByteArray("001A               \r\n");
    QTest::newRow("END termina") << joinLines({"C", "001A", "END", "002B", "end"}) << true
                                 << QByteArray("C") << QByteArray("001A               \r\n");
    QTest::newRow("End mostrata") << joinLines({"C", "End", "002B", "end"}) << true
                                  << QByteArray("C")
                                  << QByteArray("End                \r\n"
                                                "002B               \r\n");

    QTest::newRow("solo indirizzo 007") << joinLines({"C", "007", "end"}) << true << QByteArray("C")
                                        << QByteArray("007                \r\n");
    QTest::newRow("riga di 30 caratteri mostrata intera")
        << joinLines({"C", "012ABCDEFGHIJKLMNOPQRSTUVWXYZ0", "end"}) << true << QByteArray("C")
        << QByteArray("012ABCDEFGHIJKLMNOPQRSTUVWXYZ0\r\n");
    const QByteArray eighty =
        "0011234567890123456*abcdefghijabcdefghijabcdefghijabcdefghijABCDEFGHIKLMNOPQRSTU";
    QTest::newRow("riga di 80 caratteri tagliata a 69")
        << joinLines({"C", eighty, "end"}) << true << QByteArray("C")
        << QByteArray("0011234567890123456*abcdefghijabcdefghijabcdefghijabcdefghijABCDEFGHI\r\n");
    QTest::newRow("una o due cifre e spazi")
        << joinLines({"C", "5", "51", "   ", "end"}) << true << QByteArray("C")
        << QByteArray("5                  \r\n"
                      "51                 \r\n"
                      "                   \r\n");
    QTest::newRow("511 mostrata, 512 no")
        << joinLines({"C", "512NO", "511SI", "999NO", "end"}) << true << QByteArray("C")
        << QByteArray("511SI              \r\n");
    QTest::newRow("numero iniziale")
        << joinLines({"C", "6e2NO", "5e2SI", "1e3NO", " 60SI", "-99SI", "+51SI", "9.5SI", "e12SI",
                      "--xSI", "---NO", "----NO", "end"})
        << true << QByteArray("C")
        << QByteArray("5e2SI              \r\n"
                      " 60SI              \r\n"
                      "-99SI              \r\n"
                      "+51SI              \r\n"
                      "9.5SI              \r\n"
                      "e12SI              \r\n"
                      "--xSI              \r\n");
    QTest::newRow("testo senza indirizzo")
        << joinLines({"C", "nota: provvisorio", "end"}) << true << QByteArray("C")
        << QByteArray("nota: provvisorio  \r\n");
    QTest::newRow("byte 128-255 e 0")
        << joinLines({"\xe8\xe0\xf9\x80", QByteArray("001\x80\xe8\xff\x00Z", 8), "end"}) << true
        << QByteArray("\xe8\xe0\xf9\x80") << QByteArray("001\x80\xe8\xff\x00Z           \r\n", 21);
}

void TestLeggiFileDaEditare::text() {
    QFETCH(QByteArray, content);
    QFETCH(bool, hasComment);
    QFETCH(QByteArray, comment);
    QFETCH(QByteArray, text);
    const EditorText fromFile = LeggiFileDaEditare(m_folder.write(content));
    QCOMPARE(fromFile.error, QString());
    QCOMPARE(fromFile.comment.has_value(), hasComment);
    if (hasComment)
        QCOMPARE(*fromFile.comment, comment);
    QCOMPARE(fromFile.text, text);
}

void TestLeggiFileDaEditare::fullReadFile() {
    QByteArrayList lineList{"Letti dal TARVO"};
    QByteArray expectedValue;
    for (int address = 0; address < 512; ++address) {
        const QByteArray lineText = QByteArray::number(address).rightJustified(3, '0') +
                                    QByteArray("TESTO \xe8").leftJustified(16, ' ') + "*";
        lineList.append(lineText);
        expectedValue += lineText + "\r\n";
    }
    lineList.append("");
    lineList.append("end");
    const EditorText fromFile = LeggiFileDaEditare(m_folder.write(joinLines(lineList)));
    QCOMPARE(fromFile.comment, std::optional<QByteArray>("Letti dal TARVO"));
    QCOMPARE(fromFile.text.count("\r\n"), 512);
    QCOMPARE(fromFile.text, expectedValue);
}

void TestLeggiFileDaEditare::closesTheFile() {
    const QString path = m_folder.write(joinLines({"C", "001A", "end", "002B"}));
    QVERIFY(!LeggiFileDaEditare(path).text.isEmpty());
    QCOMPARE(openDescriptors(path), 0);
}

void TestLeggiFileDaEditare::linesNotShown_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QByteArrayList>("texts");
    QTest::newRow("separator, above 511, after the end")
        << joinLines({"c", "000A", "---", "600FUORI", "001B", "end", "002DOPO", "003DOPO"}) << 4
        << QList<int>{3, 4, 7, 8} << QByteArrayList{"---", "600FUORI", "002DOPO", "003DOPO"};
    QTest::newRow("empty line, and a last line with no terminator")
        << joinLines({"c", "000A", "", "001B"}) << 2 << QList<int>{3, 4}
        << QByteArrayList{"", "001B"};
    QTest::newRow("as Salva writes it: empty line, then the end")
        << joinLines({"c", "000A", "", "end"}) << 0 << QList<int>{} << QByteArrayList{};
    QTest::newRow("empty lines before the end apart, the others counted")
        << joinLines({"c", "", "000A", "", "", "END", "", "001B"}) << 3 << QList<int>{2, 7, 8}
        << QByteArrayList{"", "", "001B"};
    QTest::newRow("empty lines at the end of a file with no terminator")
        << joinLines({"c", "000A", "", ""}) << 2 << QList<int>{3, 4} << QByteArrayList{"", ""};
    QTest::newRow("only a comment") << QByteArray("c\r\n") << 0 << QList<int>{} << QByteArrayList{};
    QByteArrayList many{"c", "000A", "end"};
    for (int i = 0; i < 30; ++i)
        many += "dopo";
    QList<int> kept;
    for (int number = 4; number < 4 + EditorText::keptHiddenLines; ++number)
        kept += number;
    QTest::newRow("many after the end: all counted, the first kept")
        << joinLines(many) << 30 << kept << QByteArrayList(EditorText::keptHiddenLines, "dopo");
}

void TestLeggiFileDaEditare::linesNotShown() {
    QFETCH(QByteArray, content);
    QFETCH(int, count);
    QFETCH(QList<int>, numbers);
    QFETCH(QByteArrayList, texts);
    const EditorText fromFile = LeggiFileDaEditare(m_folder.write(content));
    QCOMPARE(fromFile.hiddenCount, count);
    QList<int> shownNumbers;
    QByteArrayList shownTexts;
    for (const EditorText::HiddenLine& line : fromFile.hiddenLines) {
        shownNumbers += line.number;
        shownTexts += line.text;
    }
    QCOMPARE(shownNumbers, numbers);
    QCOMPARE(shownTexts, texts);
}

void TestLeggiFileDaEditare::errors_data() {
    addFileErrorRows(m_folder, true);
}

void TestLeggiFileDaEditare::errors() {
    QFETCH(QString, path);
    QFETCH(QString, expectedValue);
    const EditorText fromFile = LeggiFileDaEditare(path);
    QCOMPARE(fromFile.error, expectedValue);
    QVERIFY(!fromFile.comment);
    QVERIFY(fromFile.text.isEmpty());
}

void TestLeggiFileDaEditare::permissionDenied() {
    const QString path = m_folder.write(joinLines({"C", "001A", "end"}));
    // Anyone may enter the folder, no one may read the file: checked as an
    // ordinary user, since root reads it anyway.
    QVERIFY(
        QFile::setPermissions(m_folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner | QFileDevice::ExeOther));
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    const std::optional<QByteArray> error =
        runAsUnprivilegedUser([&] { return LeggiFileDaEditare(path).error.toUtf8(); });
    QVERIFY(error);
    QCOMPARE(QString::fromUtf8(*error),
             QStringLiteral("Impossibile aprire il file %1: permesso negato")
                 .arg(QDir::toNativeSeparators(path)));
}

QTEST_MAIN(TestLeggiFileDaEditare)
#include "tst_leggifiledaeditare.moc"
