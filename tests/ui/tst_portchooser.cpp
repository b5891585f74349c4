#include "NetworkPort.h"
#include "SimulatedUnit.h"
#include "app/ProgramWindows.h"
#include "core/Variabili.h"
#include "serial/SerialExchange.h"
#include "ui/main/FormScriveMessaggi.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace {

// The port list (or context menu) that has just opened.
QMenu* opened(const QString& name) {
    QMenu* menu = nullptr;
    (void)QTest::qWaitFor([&] {
        menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu && menu->objectName() == name;
    });
    return menu && menu->objectName() == name ? menu : nullptr;
}

QAction* entryFor(const QMenu* menu, const QString& path) {
    for (QAction* action : menu->actions())
        if (action->text().endsWith(path))
            return action;
    return nullptr;
}

} // namespace

class TestPortChooser : public QObject {
    Q_OBJECT

  private slots:
    // Alt+Down and the context menu list the simulated unit; choosing it fills
    // the box as typing would, the box keeps its place and size, and the unit
    // answers there. The list is read afresh each time it opens.
    void theListFillsTheBox() {
        SimulatedUnit::Options options;
        options.publishLink = true;
        SimulatedUnit unit(options);
        QVERIFY(unit.start());
        Variabili v;
        v.Identificativo = "&C1";
        SerialExchange serial(v);
        FormScriveMessaggi window(v, serial, programWindows(v));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* box = window.findChild<QLineEdit*>(QStringLiteral("Text3"));
        const QRect place = box->geometry();
        box->setFocus();

        QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
        QMenu* list = opened(QStringLiteral("PortList"));
        QVERIFY(list);
        QAction* entry = entryFor(list, unit.linkPath());
        QVERIFY(entry);
        QVERIFY(entry->text().startsWith(unit.devicePath()));
        entry->trigger();
        list->close();
        QCOMPARE(v.PortaCom, unit.linkPath().toLocal8Bit());
        QCOMPARE(box->cursorPosition(), unit.linkPath().size());
        QVERIFY(box->toolTip().startsWith(unit.linkPath()));
        QCOMPARE(box->geometry(), place);
        window.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("Text2"))->text(),
                 QStringLiteral("Tarvo risponde TA"));

        box->selectAll();
        QTest::keyClicks(box, "3");
        QCOMPARE(v.PortaCom, QByteArray("3"));
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                                box->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(box, &click);
        QMenu* menu = opened(QStringLiteral("PortContextMenu"));
        QVERIFY(menu);
        QVERIFY(entryFor(menu, unit.linkPath()));
        menu->close();

        // While a run holds the box read-only, no list writes into it: not
        // one opened before, nor one opened meanwhile.
        QTest::keyClick(box, Qt::Key_F4);
        list = opened(QStringLiteral("PortList"));
        QVERIFY(list);
        entry = entryFor(list, unit.linkPath());
        QVERIFY(entry);
        box->setReadOnly(true);
        entry->trigger();
        list->close();
        QCOMPARE(v.PortaCom, QByteArray("3"));
        QTest::keyClick(box, Qt::Key_F4);
        list = opened(QStringLiteral("PortList"));
        QVERIFY(list);
        QVERIFY(!entryFor(list, unit.linkPath())->isEnabled());
        list->close();
        box->setReadOnly(false);

        const QString gone = unit.linkPath();
        unit.vanish();
        QTest::keyClick(box, Qt::Key_F4);
        list = opened(QStringLiteral("PortList"));
        QVERIFY(list);
        QVERIFY(!entryFor(list, gone));
        list->close();
    }

    // A line through the network is typed in the box, as the list's last
    // entry says, and the unit answers through it.
    void theBoxTakesANetworkLine() {
        SimulatedUnit unit;
        QVERIFY(unit.start());
        NetworkPort networkPort(unit.devicePath());
        QString error;
        QVERIFY2(networkPort.listen(0, &error), qPrintable(error));
        Variabili v;
        v.Identificativo = "&C1";
        SerialExchange serial(v);
        FormScriveMessaggi window(v, serial, programWindows(v));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* box = window.findChild<QLineEdit*>(QStringLiteral("Text3"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_F4);
        QMenu* list = opened(QStringLiteral("PortList"));
        QVERIFY(list);
        QVERIFY(!list->actions().last()->isEnabled());
        QVERIFY(list->actions().last()->text().contains(QStringLiteral("tcp://")));
        list->close();

        box->selectAll();
        QTest::keyClicks(box, networkPort.url());
        window.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("Text2"))->text(),
                 QStringLiteral("Tarvo risponde TA"));
        QCOMPARE(unit.frames(), QByteArrayList{"&C1TA\r"});
    }
};

QTEST_MAIN(TestPortChooser)
#include "tst_portchooser.moc"
