#include "serial/PortAdvice.h"
#include "serial/PortMessages.h"
#include "serial/PortName.h"

#include <QtTest>

// The port box's text as the device each system opens.
class TestPortName : public QObject {
    Q_OBJECT
  private slots:
    void portNames_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("device");
#ifdef Q_OS_WIN
        QTest::newRow("COM 1") << QByteArray("1") << QStringLiteral("COM1");
        QTest::newRow("COM 3 with blanks") << QByteArray(" 3 ") << QStringLiteral("COM3");
        QTest::newRow("COM3 by name") << QByteArray("COM3") << QStringLiteral("COM3");
        QTest::newRow("lower case") << QByteArray("com4") << QStringLiteral("COM4");
        QTest::newRow("COM10 and above")
            << QByteArray("\\\\.\\COM10") << QStringLiteral("\\\\.\\COM10");
        QTest::newRow("COM beyond 256") << QByteArray("COM257") << QString();
        QTest::newRow("COM0") << QByteArray("COM0") << QString();
        QTest::newRow("COM without a number") << QByteArray("COM") << QString();
#else
        QTest::newRow("COM 1") << QByteArray("1") << QStringLiteral("/dev/ttyS0");
        QTest::newRow("COM 3 with blanks") << QByteArray(" 3 ") << QStringLiteral("/dev/ttyS2");
        QTest::newRow("device path")
            << QByteArray("/dev/ttyUSB0") << QStringLiteral("/dev/ttyUSB0");
        // The box keeps its text as Windows-1252 bytes: è is byte 0xE8.
        QTest::newRow("path with an accent")
            << QByteArray("/dev/porta-\xe8") << QStringLiteral("/dev/porta-è");
        QTest::newRow("bare name") << QByteArray("ttyUSB0") << QString();
        QTest::newRow("COM3 by name") << QByteArray("COM3") << QString();
#endif
        QTest::newRow("start text X") << QByteArray("X") << QString();
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("zero") << QByteArray("0") << QString();
        QTest::newRow("negative") << QByteArray("-2") << QString();
        // A path relative to the working folder names the same device.
        const QString here = QDir::currentPath();
        QTest::newRow("relative path")
            << QByteArray("./run/tarvo-sim/s1") << here + QStringLiteral("/run/tarvo-sim/s1");
        QTest::newRow("relative path upwards")
            << QByteArray(" ../pts/4") << QFileInfo(here).path() + QStringLiteral("/pts/4");
        QTest::newRow("network line")
            << QByteArray(" TCP://192.168.1.50:4001 ") << QStringLiteral("tcp://192.168.1.50:4001");
        QTest::newRow("network line without tcp://")
            << QByteArray("server-seriale.local:4001")
            << QStringLiteral("tcp://server-seriale.local:4001");
        QTest::newRow("network line, IPv6")
            << QByteArray("tcp://[::1]:4001") << QStringLiteral("tcp://[::1]:4001");
    }
    void portNames() {
        QFETCH(QByteArray, text);
        QFETCH(QString, device);
        const PortName name = PortName::fromText(text);
        QCOMPARE(name.device, device);
        QCOMPARE(name.problem.isEmpty(), !device.isEmpty());
    }

    // Each system's advice names its own ports and tools, none of the other's.
    void adviceIsTheSystemsOwn() {
#ifdef Q_OS_WIN
        const QString port = QStringLiteral("COM9");
        const QStringList own{"Gestione dispositivi", "driver", "(es. COM3)"};
        const QStringList foreign{"/dev", "USB", "brltty", "non può vedere"};
#else
        const QString port = QStringLiteral("/dev/ttyUSB9");
        const QStringList own{"cavo USB", "(es. /dev/ttyUSB0)", "non può vedere"};
        const QStringList foreign{"Gestione dispositivi", "COM3"};
#endif
        const QString advice = PortAdvice::whenMissing() + invalidPortText(QStringLiteral("x")) +
                               PortAdvice::whenInUse(port, {});
        for (const QString& text : own)
            QVERIFY2(advice.contains(text), qPrintable(text));
        for (const QString& text : foreign)
            QVERIFY2(!advice.contains(text), qPrintable(text));
    }
};

QTEST_MAIN(TestPortName)
#include "tst_portname.moc"
