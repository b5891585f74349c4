#include "SimulatedUnit.h"
#include "core/Variabili.h"
#include "serial/FormSeriale.h"
#include "ui/FormScriveMessaggi.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

QMenu* openMenu(const QString& name) {
    QMenu* menu = nullptr;
    (void)QTest::qWaitFor([&] {
        menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu && menu->objectName() == name;
    });
    return menu && menu->objectName() == name ? menu : nullptr;
}

QAction* entryFor(QMenu* menu, const QString& path) {
    for (QAction* action : menu->actions())
        if (action->text().endsWith(path))
            return action;
    return nullptr;
}

} // namespace

class TestPortChooser : public QObject {
    Q_OBJECT

    std::unique_ptr<SimulatedUnit> unit;
    Variabili v;
    std::unique_ptr<FormSeriale> seriale;
    std::unique_ptr<FormScriveMessaggi> finestra;

  private slots:
    void init() {
        SimulatedUnit::Options options;
        options.publishLink = true;
        unit = std::make_unique<SimulatedUnit>(options);
        QVERIFY(unit->start());
        v = {};
        v.Identificativo = "&C1";
        seriale = std::make_unique<FormSeriale>(v);
        finestra = std::make_unique<FormScriveMessaggi>(v, *seriale);
        finestra->show();
        QVERIFY(QTest::qWaitForWindowExposed(finestra.get()));
        finestra->Text3->setFocus();
    }
    void cleanup() {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        finestra.reset();
        seriale.reset();
        unit.reset();
    }

    // Alt+Down lists the simulated unit; choosing it fills the box as typing
    // would, the box keeps its place and size, and the unit answers there.
    void theKeyboardListFillsTheBox() {
        const QRect place = finestra->Text3->geometry();
        QTest::keyClick(finestra->Text3, Qt::Key_Down, Qt::AltModifier);
        QMenu* list = openMenu(QStringLiteral("PortList"));
        QVERIFY(list);
        QAction* entry = entryFor(list, unit->linkPath());
        QVERIFY(entry);
        QVERIFY(entry->text().startsWith(unit->devicePath()));
        entry->trigger();
        QCOMPARE(finestra->Text3->text(), unit->linkPath());
        QCOMPARE(v.PortaCom, unit->linkPath().toLocal8Bit());
        QCOMPARE(finestra->Text3->cursorPosition(), unit->linkPath().size());
        QVERIFY(finestra->Text3->toolTip().startsWith(unit->linkPath()));
        QCOMPARE(finestra->Text3->geometry(), place);
        finestra->Command3->click();
        QCOMPARE(finestra->Text2->text(), QStringLiteral("Tarvo risponde TA"));

        // Read afresh: a unit that has gone is no longer offered.
        const QString gone = unit->linkPath();
        unit->vanish();
        QTest::keyClick(finestra->Text3, Qt::Key_F4);
        list = openMenu(QStringLiteral("PortList"));
        QVERIFY(list);
        QVERIFY(!entryFor(list, gone));
    }

    void theContextMenuOffersThePortsBesideTheEditingActions() {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                finestra->Text3->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(finestra->Text3, &event);
        QMenu* menu = openMenu(QStringLiteral("PortContextMenu"));
        QVERIFY(menu);
        QAction* entry = entryFor(menu, unit->linkPath());
        QVERIFY(entry);
        QVERIFY(menu->actions().size() > 5);
        entry->trigger();
        QCOMPARE(v.PortaCom, unit->linkPath().toLocal8Bit());
    }

    void typingStillWorks() {
        finestra->Text3->selectAll();
        QTest::keyClicks(finestra->Text3, "3");
        QCOMPARE(v.PortaCom, QByteArray("3"));
        QVERIFY(!QApplication::activePopupWidget());
    }
};

QTEST_MAIN(TestPortChooser)
#include "tst_portchooser.moc"
