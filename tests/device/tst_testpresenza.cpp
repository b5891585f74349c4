#include "ScriptedPeer.h"
#include "SimulatedUnit.h"
#include "core/Variabili.h"
#include "device/TestPresenza.h"
#include "serial/FormSeriale.h"
#include "serial/SerialControl.h"
#include "ui/FormScriveMessaggi.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QString nonRisponde = QStringLiteral("Tarvo non risponde Messo in attesa seriale?");

} // namespace

class TestTestPresenza : public QObject {
    Q_OBJECT

    std::unique_ptr<Variabili> v;
    std::unique_ptr<FormSeriale> seriale;
    std::unique_ptr<FormScriveMessaggi> w;

    void setPort(const QString& text) { w->Text3->setText(text); }
    void setIdentifier(const QString& text) { w->IdStart->setText(text); }
    bool portOpen() const { return seriale->findChild<SerialControl*>()->PortOpen(); }
    void clickTest() { QTest::mouseClick(w->Command3, Qt::LeftButton); }

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
        seriale = std::make_unique<FormSeriale>(*v);
        w = std::make_unique<FormScriveMessaggi>(*v, *seriale);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

    void cleanup() {
        w.reset();
        seriale.reset();
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
        QCOMPARE(w->Text1->text(), QString::fromLatin1(frame));
        QCOMPARE(w->Text2->text(), QStringLiteral("Tarvo risponde TA"));
        QCOMPARE(v->Comando, frame);
        QCOMPARE(v->LunghezzaRisposta, qint16(6));
        QCOMPARE(v->Risposta, QByteArray("TA"));
        QCOMPARE(v->VerboRisposta, QByteArray("TA"));
        QCOMPARE(v->Stato, QByteArray("Testa"));
        QVERIFY(!portOpen());
        QVERIFY(w->Command3->isEnabled());
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
        QCOMPARE(w->Text1->text(), QStringLiteral("&C1TA\r"));
        QCOMPARE(w->Text2->text(), nonRisponde);
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
        QCOMPARE(w->Text2->text(), text2);
        QCOMPARE(v->Risposta, risposta);
        QVERIFY(!portOpen());
    }

    void noUnitOnLine() {
        ScriptedPeer peer;
        setPort(QString::fromLocal8Bit(peer.portText()));
        clickTest();
        QCOMPARE(peer.frames(), QByteArrayList{"&C1TA\r"});
        QCOMPARE(w->Text2->text(), nonRisponde);
        QCOMPARE(v->Risposta, FormSeriale::TestoTimeout.mid(3));
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
        const QString message = w->Text2->text();
        QVERIFY2(message.contains(reason), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("Porte presenti: ")) ||
                     message.contains(QStringLiteral("Nessuna porta seriale trovata")),
                 qPrintable(message));
        QVERIFY(!w->Text1->text().contains(QStringLiteral("TA")));
        QVERIFY(!portOpen());
        QCOMPARE(v->Stato, QByteArray("Testa"));

        // The program goes on: a test on a proper port works.
        auto unit = startUnit();
        setPort(unit->devicePath());
        clickTest();
        QCOMPARE(w->Text2->text(), QStringLiteral("Tarvo risponde TA"));
    }

    void busyPortIsReported() {
        auto unit = startUnit();
        QSerialPort other(unit->devicePath());
        QVERIFY(other.open(QIODevice::ReadWrite));
        setPort(unit->devicePath());
        clickTest();
        QVERIFY2(w->Text2->text().contains(QStringLiteral("occupata")),
                 qPrintable(w->Text2->text()));
        QCOMPARE(unit->framesReceived(), 0);
        other.close();
        clickTest();
        QCOMPARE(w->Text2->text(), QStringLiteral("Tarvo risponde TA"));
    }

    void portFailsDuringTest() {
        ScriptedPeer peer;
        peer.vanishOnNextFrame();
        setPort(QString::fromLocal8Bit(peer.portText()));
        clickTest();
        const QString message = w->Text2->text();
        QVERIFY2(message.contains(QStringLiteral("interrotto")), qPrintable(message));
        QVERIFY(message != nonRisponde);
        QVERIFY(!portOpen());
    }

    void secondClickDuringWaitIsIgnored_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Test Funzionamento") << "Command3";
        QTest::newRow("Invia file al TARVO") << "Command1";
        QTest::newRow("Leggi Testi dal TARVO") << "LeggiTesti";
        QTest::newRow("Modifica Testi") << "Command5";
    }

    void secondClickDuringWaitIsIgnored() {
        QFETCH(QString, button);
        SimulatedUnit::Options options;
        options.replyDelayMs = 300;
        auto unit = startUnit(options);
        setPort(unit->devicePath());
        auto* second = w->findChild<QPushButton*>(button);
        QVERIFY(second);
        bool clickedInsideWait = false;
        connect(unit.get(), &SimulatedUnit::frameReceived, this, [&] {
            if (clickedInsideWait)
                return;
            clickedInsideWait = true;
            QVERIFY(w->operazioneInCorso());
            QVERIFY(second->isEnabled());
            QTest::mouseClick(second, Qt::LeftButton);
        });
        clickTest();
        QVERIFY(clickedInsideWait);
        QCOMPARE(unit->frames(), QByteArrayList{"&C1TA\r"});
        QCOMPARE(w->Text1->text(), QStringLiteral("&C1TA\r"));
        QCOMPARE(w->Text2->text(), QStringLiteral("Tarvo risponde TA"));
        QVERIFY(!w->operazioneInCorso());

        // Once the test is over the next click starts a new one.
        clickTest();
        QCOMPARE(unit->framesReceived(), 2);
    }

    void closeDuringTestWaitsForIt_data() {
        QTest::addColumn<bool>("exitButton");
        QTest::newRow("close box") << false;
        QTest::newRow("Exit") << true;
    }

    void closeDuringTestWaitsForIt() {
        QFETCH(bool, exitButton);
        SimulatedUnit::Options options;
        options.replyDelayMs = 500;
        auto unit = startUnit(options);
        setPort(unit->devicePath());
        bool visibleAfterRequest = false;
        connect(unit.get(), &SimulatedUnit::frameReceived, this, [&] {
            if (exitButton)
                QTest::mouseClick(w->Command2, Qt::LeftButton);
            else
                QVERIFY(!w->close());
            visibleAfterRequest = w->isVisible();
        });
        clickTest();
        QVERIFY(visibleAfterRequest);
        QVERIFY(v->closeRequested);
        // The wait ended at once, the test finished and closed the port, and
        // then the closing steps ran.
        QCOMPARE(w->Text2->text(), nonRisponde);
        QVERIFY(!portOpen());
        QCOMPARE(v->Stato, QByteArray("Finisci"));
        QVERIFY(w->isHidden());
    }

    void directCallWithoutButton() {
        auto unit = startUnit();
        setPort(unit->devicePath());
        v->Stato = "aspetta";
        TestaPresenza(*v, *seriale, *w);
        QCOMPARE(v->Stato, QByteArray("Testa"));
        QCOMPARE(w->Text2->text(), QStringLiteral("Tarvo risponde TA"));
    }
};

QTEST_MAIN(TestTestPresenza)
#include "tst_testpresenza.moc"
