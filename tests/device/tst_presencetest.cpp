#include "DeviceFixture.h"
#include "ScriptedPeer.h"
#include "device/PresenceTest.h"

#include <QtTest>

namespace {

const QString nonRisponde = QStringLiteral("Tarvo non risponde Messo in attesa seriale?");

} // namespace

class TestPresenceTest : public QObject {
    Q_OBJECT

    static OperationOutcome::Ending clickTest(DeviceFixture& f) {
        return runPresenceTest(f.v, f.exchange, f.host).ending;
    }

  private slots:
    void unitAnswers_data() {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QByteArray>("unitIdentifier");
        QTest::newRow("default identifier") << "&C1" << QByteArray("&C1");
        QTest::newRow("identifier of four characters") << "&C12" << QByteArray("&C12");
        QTest::newRow("identifier of one character") << "#" << QByteArray("#");
    }

    void unitAnswers() {
        QFETCH(QString, identifier);
        QFETCH(QByteArray, unitIdentifier);
        SimulatedUnit::Options options;
        options.identifier = unitIdentifier;
        DeviceFixture f(options);
        f.v.Identificativo = identifier.toLatin1();
        const OperationOutcome::Ending result = clickTest(f);
        const QByteArray frame = identifier.toLatin1() + "TA\r";
        QCOMPARE(f.unit.frames(), QByteArrayList{frame});
        QCOMPARE(f.host.text1, QString::fromLatin1(frame));
        QCOMPARE(f.host.text2, QStringLiteral("Tarvo risponde TA"));
        QCOMPARE(f.v.Comando, frame);
        QCOMPARE(f.v.LunghezzaRisposta, qint16(6));
        QCOMPARE(f.v.Risposta, QByteArray("TA"));
        QCOMPARE(f.v.VerboRisposta, QByteArray("TA"));
        QCOMPARE(f.v.Stato, QByteArray("Testa"));
        QVERIFY(!f.portOpen());
        QVERIFY(f.host.commandsEnabled);
        QCOMPARE(result, OperationOutcome::Ending::Done);
    }

    void unitDoesNotAnswer_data() {
        QTest::addColumn<QByteArray>("unitIdentifier");
        QTest::addColumn<int>("silentFrom");
        QTest::addColumn<bool>("garble");
        QTest::newRow("silent unit") << QByteArray("&C1") << 1 << false;
        QTest::newRow("other identifier") << QByteArray("&C2") << 0 << false;
        QTest::newRow("garbled reply") << QByteArray("&C1") << 0 << true;
    }

    void unitDoesNotAnswer() {
        QFETCH(QByteArray, unitIdentifier);
        QFETCH(int, silentFrom);
        QFETCH(bool, garble);
        SimulatedUnit::Options options;
        options.identifier = unitIdentifier;
        options.silentFrom = silentFrom;
        options.garble = garble;
        DeviceFixture f(options);
        const OperationOutcome::Ending result = clickTest(f);
        QCOMPARE(f.unit.framesReceived(), 1);
        QCOMPARE(f.host.text1, QStringLiteral("&C1TA\r"));
        QCOMPARE(f.host.text2, nonRisponde);
        QCOMPARE(result, OperationOutcome::Ending::Failed);
        QCOMPARE(f.v.Stato, QByteArray("Testa"));
        QVERIFY(!f.portOpen());
    }

    void scriptedReplies_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("text2");
        QTest::addColumn<QByteArray>("risposta");
        QTest::newRow("present") << QByteArray("&C1TA\r") << "Tarvo risponde TA"
                                 << QByteArray("TA");
        QTest::newRow("lower-case verb")
            << QByteArray("&C1ta\r") << nonRisponde << QByteArray("ta");
        QTest::newRow("longer reply")
            << QByteArray("&C1TAXYZ\r") << "Tarvo risponde TAXYZ" << QByteArray("TAXYZ");
        QTest::newRow("other prefix, verb in place")
            << QByteArray("xyzTA\r") << "Tarvo risponde TA" << QByteArray("TA");
        QTest::newRow("verb one place late")
            << QByteArray("&C12TA\r") << nonRisponde << QByteArray("2TA");
    }

    void scriptedReplies() {
        QFETCH(QByteArray, reply);
        QFETCH(QString, text2);
        QFETCH(QByteArray, risposta);
        DeviceFixture f;
        ScriptedPeer peer;
        peer.reply(reply);
        f.v.PortaCom = peer.portText();
        clickTest(f);
        QCOMPARE(peer.frames(), QByteArrayList{"&C1TA\r"});
        QCOMPARE(f.host.text2, text2);
        QCOMPARE(f.v.Risposta, risposta);
        QVERIFY(!f.portOpen());
    }

    void noUnitOnLine() {
        DeviceFixture f;
        ScriptedPeer peer;
        f.v.PortaCom = peer.portText();
        clickTest(f);
        QCOMPARE(peer.frames(), QByteArrayList{"&C1TA\r"});
        QCOMPARE(f.host.text2, nonRisponde);
        QCOMPARE(f.v.Risposta, SerialExchange::TimeoutText.mid(3));
        QCOMPARE(f.v.VerboRisposta, QByteArray("45"));
    }

    // Why a port cannot be opened, and in which words, is the exchange's.
    void portCannotBeOpened() {
        DeviceFixture f;
        const QByteArray unitPort = f.v.PortaCom;
        f.v.PortaCom = "/dev/nonexistent";
        const OperationOutcome::Ending result = clickTest(f);
        QCOMPARE(f.host.text2, f.exchange.lastFailure().text);
        QVERIFY(!f.host.text2.isEmpty());
        QVERIFY(!f.host.text1.contains(QStringLiteral("TA")));
        QVERIFY(!f.portOpen());
        QCOMPARE(result, OperationOutcome::Ending::CannotStart);
        QCOMPARE(f.v.Stato, QByteArray("Testa"));

        // The program goes on: a test on a proper port works.
        f.v.PortaCom = unitPort;
        clickTest(f);
        QCOMPARE(f.host.text2, QStringLiteral("Tarvo risponde TA"));
    }

    void portFailsDuringTest() {
        DeviceFixture f;
        ScriptedPeer peer;
        peer.vanishOnNextFrame();
        f.v.PortaCom = peer.portText();
        clickTest(f);
        const QString message = f.host.text2;
        QVERIFY2(message.contains(QStringLiteral("interrotto")), qPrintable(message));
        QVERIFY(message != nonRisponde);
        QVERIFY(!f.portOpen());
    }

    void directCallWithoutButton() {
        DeviceFixture f;
        f.v.Stato = "aspetta";
        runPresenceTest(f.v, f.exchange, f.host);
        QCOMPARE(f.v.Stato, QByteArray("Testa"));
        QCOMPARE(f.host.text2, QStringLiteral("Tarvo risponde TA"));
    }
};

QTEST_MAIN(TestPresenceTest)
#include "tst_presencetest.moc"
