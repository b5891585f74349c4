#include "WindowFixture.h"

#include <QtTest>

namespace {

const QString nonRisponde = QStringLiteral("Tarvo non risponde Messo in attesa seriale?");

} // namespace

// The presence test leaves the commands enabled: the window itself keeps a
// second click or a close request from running inside the test's wait.
class TestPresenceTestWindow : public QObject {
    Q_OBJECT

  private slots:
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
        WindowFixture f(options);
        auto* second = f.window->findChild<QPushButton*>(button);
        QVERIFY(second);
        bool clickedInsideWait = false;
        connect(&f.unit, &SimulatedUnit::frameReceived, this, [&] {
            if (clickedInsideWait)
                return;
            clickedInsideWait = true;
            QVERIFY(f.window->operationRunning());
            QVERIFY(second->isEnabled());
            QTest::mouseClick(second, Qt::LeftButton);
        });
        QTest::mouseClick(f.button("Command3"), Qt::LeftButton);
        QVERIFY(clickedInsideWait);
        QCOMPARE(f.unit.frames(), QByteArrayList{"&C1TA\r"});
        QCOMPARE(f.box("Text1")->text(), QStringLiteral("&C1TA\r"));
        QCOMPARE(f.box("Text2")->text(), QStringLiteral("Tarvo risponde TA"));
        QVERIFY(!f.window->operationRunning());

        // Once the test is over the next click starts a new one.
        QTest::mouseClick(f.button("Command3"), Qt::LeftButton);
        QCOMPARE(f.unit.framesReceived(), 2);
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
        WindowFixture f(options);
        bool visibleAfterRequest = false;
        connect(&f.unit, &SimulatedUnit::frameReceived, this, [&] {
            if (exitButton)
                QTest::mouseClick(f.button("Command2"), Qt::LeftButton);
            else
                QVERIFY(!f.window->close());
            visibleAfterRequest = f.window->isVisible();
        });
        QTest::mouseClick(f.button("Command3"), Qt::LeftButton);
        QVERIFY(visibleAfterRequest);
        QVERIFY(f.v.closeRequested);
        // The wait ended at once, the test finished and closed the port, and
        // then the closing steps ran.
        QCOMPARE(f.box("Text2")->text(), nonRisponde);
        QVERIFY(!f.portOpen());
        QCOMPARE(f.v.Stato, QByteArray("Finisci"));
        QVERIFY(f.window->isHidden());
    }

    // A test without an answer points to the diagnosis in the note line; the
    // status boxes keep their texts.
    void aTestWithoutAnswerPointsToTheDiagnosis() {
        SimulatedUnit::Options options;
        options.silentFrom = 2;
        WindowFixture f(options);
        auto* note = f.box("NoteLine");
        QTest::mouseClick(f.button("Command3"), Qt::LeftButton);
        QCOMPARE(f.box("Text2")->text(), QStringLiteral("Tarvo risponde TA"));
        QVERIFY(note->isHidden());
        QTest::mouseClick(f.button("Command3"), Qt::LeftButton);
        QCOMPARE(f.box("Text2")->text(), nonRisponde);
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(),
                 QStringLiteral("Per sapere perché: Strumenti → Diagnosi della linea"));
    }
};

QTEST_MAIN(TestPresenceTestWindow)
#include "tst_presencetestwindow.moc"
