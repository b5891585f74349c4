#include "RecordingHost.h"
#include "ScriptedPeer.h"
#include "SimulatedUnit.h"
#include "core/Variabili.h"
#include "device/PresenceTest.h"
#include "serial/SerialControl.h"
#include "serial/SerialExchange.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QString nonRisponde = QStringLiteral("Tarvo non risponde Messo in attesa seriale?");

} // namespace

class TestPresenceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Variabili> v;
    std::unique_ptr<SerialExchange> exchange;
    std::unique_ptr<RecordingHost> host;
    OperationResult m_result = OperationResult::Succeeded;

    void setPort(const QString& text) { v->PortaCom = text.toLocal8Bit(); }
    void setIdentifier(const QString& text) { v->Identificativo = text.toLatin1(); }
    bool portOpen() const { return exchange->findChild<SerialControl*>()->PortOpen(); }
    void clickTest() { m_result = runPresenceTest(*v, *exchange, *host); }

    std::unique_ptr<SimulatedUnit> startUnit(SimulatedUnit::Options options = {}) {
        auto unit = std::make_unique<SimulatedUnit>(options);
        QString error;
        if (!unit->start(&error))
            qFatal("simulated unit: %s", qPrintable(error));
        return unit;
    }

  private slots:
    void init() {
        v = std::make_unique<Variabili>();
        v->Identificativo = "&C1";
        exchange = std::make_unique<SerialExchange>(*v);
        host = std::make_unique<RecordingHost>();
    }

    void cleanup() {
        host.reset();
        exchange.reset();
        v.reset();
    }

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
        auto unit = startUnit(options);
        setIdentifier(identifier);
        setPort(unit->devicePath());
        clickTest();
        const QByteArray frame = identifier.toLatin1() + "TA\r";
        QCOMPARE(unit->frames(), QByteArrayList{frame});
        QCOMPARE(host->text1, QString::fromLatin1(frame));
        QCOMPARE(host->text2, QStringLiteral("Tarvo risponde TA"));
        QCOMPARE(v->Comando, frame);
        QCOMPARE(v->LunghezzaRisposta, qint16(6));
        QCOMPARE(v->Risposta, QByteArray("TA"));
        QCOMPARE(v->VerboRisposta, QByteArray("TA"));
        QCOMPARE(v->Stato, QByteArray("Testa"));
        QVERIFY(!portOpen());
        QVERIFY(host->commandsEnabled);
        QCOMPARE(m_result, OperationResult::Succeeded);
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
        auto unit = startUnit(options);
        setPort(unit->devicePath());
        clickTest();
        QCOMPARE(unit->framesReceived(), 1);
        QCOMPARE(host->text1, QStringLiteral("&C1TA\r"));
        QCOMPARE(host->text2, nonRisponde);
        QCOMPARE(m_result, OperationResult::UnitFailed);
        QCOMPARE(v->Stato, QByteArray("Testa"));
        QVERIFY(!portOpen());
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
        ScriptedPeer peer;
        peer.reply(reply);
        setPort(QString::fromLocal8Bit(peer.portText()));
        clickTest();
        QCOMPARE(peer.frames(), QByteArrayList{"&C1TA\r"});
        QCOMPARE(host->text2, text2);
        QCOMPARE(v->Risposta, risposta);
        QVERIFY(!portOpen());
    }

    void noUnitOnLine() {
        ScriptedPeer peer;
        setPort(QString::fromLocal8Bit(peer.portText()));
        clickTest();
        QCOMPARE(peer.frames(), QByteArrayList{"&C1TA\r"});
        QCOMPARE(host->text2, nonRisponde);
        QCOMPARE(v->Risposta, SerialExchange::TimeoutText.mid(3));
        QCOMPARE(v->VerboRisposta, QByteArray("45"));
    }

    void portCannotBeOpened_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("reason");
        QTest::newRow("initial X") << "X"
                                   << "non valida";
        QTest::newRow("empty") << ""
                               << "non valida";
        QTest::newRow("missing device") << "/dev/nonexistent"
                                        << "non esiste";
        QTest::newRow("missing COM port") << "100"
                                          << "non esiste";
    }

    void portCannotBeOpened() {
        QFETCH(QString, port);
        QFETCH(QString, reason);
        setPort(port);
        clickTest();
        const QString message = host->text2;
        QVERIFY2(message.contains(reason), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("Porte presenti: ")) ||
                     message.contains(QStringLiteral("Nessuna porta seriale trovata")),
                 qPrintable(message));
        QVERIFY(!host->text1.contains(QStringLiteral("TA")));
        QVERIFY(!portOpen());
        QCOMPARE(m_result, OperationResult::CannotStart);
        QCOMPARE(v->Stato, QByteArray("Testa"));

        // The program goes on: a test on a proper port works.
        auto unit = startUnit();
        setPort(unit->devicePath());
        clickTest();
        QCOMPARE(host->text2, QStringLiteral("Tarvo risponde TA"));
    }

    void busyPortIsReported() {
        auto unit = startUnit();
        QSerialPort other(unit->devicePath());
        QVERIFY(other.open(QIODevice::ReadWrite));
        setPort(unit->devicePath());
        clickTest();
        QVERIFY2(host->text2.contains(QStringLiteral("occupata")), qPrintable(host->text2));
        QCOMPARE(unit->framesReceived(), 0);
        other.close();
        clickTest();
        QCOMPARE(host->text2, QStringLiteral("Tarvo risponde TA"));
    }

    void portFailsDuringTest() {
        ScriptedPeer peer;
        peer.vanishOnNextFrame();
        setPort(QString::fromLocal8Bit(peer.portText()));
        clickTest();
        const QString message = host->text2;
        QVERIFY2(message.contains(QStringLiteral("interrotto")), qPrintable(message));
        QVERIFY(message != nonRisponde);
        QVERIFY(!portOpen());
    }

    void directCallWithoutButton() {
        auto unit = startUnit();
        setPort(unit->devicePath());
        v->Stato = "aspetta";
        runPresenceTest(*v, *exchange, *host);
        QCOMPARE(v->Stato, QByteArray("Testa"));
        QCOMPARE(host->text2, QStringLiteral("Tarvo risponde TA"));
    }
};

QTEST_MAIN(TestPresenceTest)
#include "tst_presencetest.moc"
