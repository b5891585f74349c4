#include "MessageFiles.h"
#include "WhenShown.h"
#include "WindowFixture.h"
#include "files/UnitCopies.h"
#include "ui/copies/UnitCopiesWindow.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

// Strumenti → "Copie dell'unità" against a simulated unit: the window lists
// the program's copies and puts one back from the keyboard.
class TestUnitCopiesWindow : public QObject {
    Q_OBJECT

    // A copy as the program keeps it: "TESTO nnn" at every address but the
    // given ones.
    static void keepCopy(const QString& name, const QByteArray& when,
                         const QMap<int, QByteArray>& texts, const QByteArray& identifier = "&C1") {
        QByteArray content =
            "Copia dell'unit\xe0 " + identifier + " dalla porta 2, " + when + "\r\n";
        for (int address = 0; address < 512; ++address) {
            const QByteArray digits = QByteArray::number(address).rightJustified(3, '0');
            content += digits + texts.value(address, "TESTO " + digits).leftJustified(16) + "*\r\n";
        }
        QVERIFY(writeFile(UnitCopies::folder() + u'/' + name, content + "\r\nend\r\n"));
    }

    static QAction* copiesAction(WindowFixture& f) {
        for (QAction* action : f.control<QMenu>("Strumenti")->actions())
            if (action->text() == QStringLiteral("C&opie dell'unità"))
                return action;
        return nullptr;
    }

    // A data folder of this test's own: other tests take copies too.
    QTemporaryDir m_data;

  private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path())); }

    void listsTwoCopiesAndPutsTheOlderBack() {
        QVERIFY(QDir().mkpath(UnitCopies::folder()));
        keepCopy("20261201-100000-&C1.tvo", "01/12/2026 10:00:00",
                 {{0, "PRIMA 0"}, {1, "PRIMA 1"}});
        keepCopy("20261205-090000-&C1.tvo", "05/12/2026 09:00:00", {{0, "NUOVA 0"}});
        WindowFixture f;
        for (int address = 0; address < 512; ++address)
            f.unit.setText(address, "TESTO " + QByteArray::number(address).rightJustified(3, '0'));
        f.unit.setText(0, "ADESSO 0");
        f.unit.setText(2, "ADESSO 2");

        QAction* open = copiesAction(f);
        QVERIFY(open);
        open->trigger();
        auto* window = f.window->findChild<UnitCopiesWindow*>();
        QVERIFY(window && window->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto* list = controlOf<QTreeWidget>(*window, "copie");
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("05/12/2026 09:00:00"));
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("&C1"));
        QCOMPARE(list->topLevelItem(1)->text(2), QStringLiteral("2"));

        // While the copy goes back, the window's commands are off as the
        // main window's are.
        QList<bool> enabledMeanwhile;
        connect(&f.unit, &SimulatedUnit::frameReceived, this, [&] {
            if (enabledMeanwhile.isEmpty())
                for (const char* name : {"rimetti", "confronta", "apriNellEditor"})
                    enabledMeanwhile += controlOf<QPushButton>(*window, name)->isEnabled();
            if (enabledMeanwhile.size() == 3)
                enabledMeanwhile += open->isEnabled();
        });
        QTRY_VERIFY(list->hasFocus());
        QTest::keyClick(list, Qt::Key_Down);
        QTest::mouseClick(controlOf<QPushButton>(*window, "rimetti"), Qt::LeftButton);
        QCOMPARE(enabledMeanwhile, (QList<bool>{false, false, false, false}));
        QCOMPARE(f.unit.writesReceived(), 3);
        QCOMPARE(f.unit.text(0), QByteArray("PRIMA 0         "));
        QCOMPARE(f.unit.text(1), QByteArray("PRIMA 1         "));
        QCOMPARE(f.unit.text(2), QByteArray("TESTO 002       "));
        QVERIFY(f.v.FileSelezionato.isEmpty());

        // The fresh copy holds what the unit held, and heads the list.
        QTRY_COMPARE(f.box("Text2")->text(),
                     QStringLiteral("scritti 3 testi, 509 erano già uguali"));
        QCOMPARE(list->topLevelItemCount(), 3);
        const QString fresh = list->topLevelItem(0)->toolTip(0);
        QTRY_COMPARE(f.box("Text1")->text(), QStringLiteral("Copia dei testi di prima: ") + fresh);
        QVERIFY(contentOf(fresh).contains("\r\n000ADESSO 0        *\r\n"));
        QCOMPARE(list->indexOfTopLevelItem(list->currentItem()), 2);
        QVERIFY(controlOf<QPushButton>(*window, "rimetti")->isEnabled());
    }

    // The copy of &C4 put back with &C1 in the identifier box: the window asks
    // first, naming both, and Enter writes nothing. Written on request to a
    // unit that refuses, the note names the copy to put back again.
    void anotherUnitsCopyIsAskedFor() {
        keepCopy("20261220-100000-&C4.tvo", "20/12/2026 10:00:00", {{0, "DELLA C4"}}, "&C4");
        SimulatedUnit::Options refusing;
        refusing.refuseWriteFrom = 1;
        WindowFixture f(refusing);
        copiesAction(f)->trigger();
        auto* window = f.window->findChild<UnitCopiesWindow*>();
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto* list = controlOf<QTreeWidget>(*window, "copie");
        QCOMPARE(list->currentItem()->text(1), QStringLiteral("&C4"));
        const QString copy = list->currentItem()->toolTip(0);

        QStringList asked;
        bool write = false;
        WhenShown<QMessageBox> answer([&](QMessageBox& box) {
            asked += box.text();
            if (write) {
                for (QAbstractButton* button : box.buttons())
                    if (button->text() == QStringLiteral("&Scrivi in &&C1"))
                        button->click();
            } else
                QTest::keyClick(&box, Qt::Key_Return);
        });
        QTest::mouseClick(controlOf<QPushButton>(*window, "rimetti"), Qt::LeftButton);
        QTRY_COMPARE(asked.size(), 1);
        QVERIFY2(asked[0].contains(QStringLiteral("dell'unità &C4")) &&
                     asked[0].contains(QStringLiteral("l'identificativo è &C1")),
                 qPrintable(asked[0]));
        QTRY_VERIFY(!f.window->operationRunning());
        QCOMPARE(f.unit.framesReceived(), 0);

        write = true;
        WhenShown<QPushButton> acknowledge([](QPushButton& ack) { ack.click(); },
                                           QStringLiteral("Command4"));
        QTest::mouseClick(controlOf<QPushButton>(*window, "rimetti"), Qt::LeftButton);
        QTRY_VERIFY(!f.window->operationRunning());
        QCOMPARE(asked.size(), 2);
        QCOMPARE(f.unit.writesReceived(), 1);
        const QString note = f.box("NoteLine")->text();
        QVERIFY2(note.contains(QStringLiteral("Copia non rimessa: ") + copy) &&
                     note.contains(QStringLiteral("la più recente ora è la copia di prima")),
                 qPrintable(note));
        QCOMPARE(list->currentItem()->toolTip(0), copy);
    }
};

QTEST_MAIN(TestUnitCopiesWindow)
#include "tst_unitcopieswindow.moc"
