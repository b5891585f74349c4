#include "files/LeadingNumber.h"

#include <QTest>

class TestLeadingNumber : public QObject {
    Q_OBJECT

  private slots:
    void value_data();
    void value();
};

void TestLeadingNumber::value_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expectedValue");

    QTest::newRow("vuoto") << QByteArray() << 0.0;
    QTest::newRow("tre cifre") << QByteArray("511") << 511.0;
    QTest::newRow("zeri iniziali") << QByteArray("007") << 7.0;
    QTest::newRow("segue testo") << QByteArray("12a") << 12.0;
    QTest::newRow("spazi iniziali") << QByteArray("  7") << 7.0;
    QTest::newRow("solo spazi") << QByteArray("   ") << 0.0;
    QTest::newRow("meno") << QByteArray("-12") << -12.0;
    QTest::newRow("piu") << QByteArray("+60") << 60.0;
    QTest::newRow("spazio e segno") << QByteArray(" -9") << -9.0;
    QTest::newRow("esponente") << QByteArray("6e2") << 600.0;
    QTest::newRow("esponente maiuscolo") << QByteArray("5E2") << 500.0;
    QTest::newRow("esponente grande") << QByteArray("1e3") << 1000.0;
    QTest::newRow("esponente con segno") << QByteArray("5e-1") << 0.5;
    QTest::newRow("esponente senza cifre") << QByteArray("1e") << 1.0;
    QTest::newRow("esponente solo segno") << QByteArray("1e+") << 1.0;
    QTest::newRow("decimali") << QByteArray("9.5") << 9.5;
    QTest::newRow("decimali ed esponente") << QByteArray("1.5e2") << 150.0;
    QTest::newRow("punto iniziale") << QByteArray(".5") << 0.5;
    QTest::newRow("solo punto") << QByteArray(".") << 0.0;
    QTest::newRow("solo segno") << QByteArray("-") << 0.0;
    QTest::newRow("lettera e") << QByteArray("e12") << 0.0;
    QTest::newRow("lettere") << QByteArray("abc") << 0.0;
    QTest::newRow("separatore") << QByteArray("---") << 0.0;
    QTest::newRow("doppio segno") << QByteArray("--1") << 0.0;
    QTest::newRow("spazio interno") << QByteArray("1 2") << 1.0;
    QTest::newRow("apice non e cifra") << QByteArray("\xb2\xb3") << 0.0;
}

void TestLeadingNumber::value() {
    QFETCH(QByteArray, text);
    QFETCH(double, expectedValue);
    QCOMPARE(leadingNumber(text), expectedValue);
}

QTEST_MAIN(TestLeadingNumber)
#include "tst_leadingnumber.moc"
