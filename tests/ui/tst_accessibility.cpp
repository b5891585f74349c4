#include "app/ProgramWindows.h"
#include "core/Variabili.h"
#include "serial/SerialExchange.h"
#include "ui/editor/EditaMessaggi.h"
#include "ui/copies/UnitCopiesWindow.h"
#include "ui/main/FormScriveMessaggi.h"
#include "ui/save/FormSalvaFile.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

// Every box and list of every window tells a screen reader what it is, and
// every button speaks its caption.
class TestAccessibility : public QObject {
    Q_OBJECT

    static void everyControlHasAName(QWidget& window) {
        const auto unnamed = [](QWidget* w) {
            return w->accessibleName().trimmed().isEmpty() && !w->objectName().startsWith("qt_");
        };
        for (auto* box : window.findChildren<QLineEdit*>())
            QVERIFY2(!unnamed(box), qPrintable(box->objectName()));
        for (auto* area : window.findChildren<QPlainTextEdit*>())
            QVERIFY2(!unnamed(area), qPrintable(area->objectName()));
        for (auto* combo : window.findChildren<QComboBox*>())
            QVERIFY2(!unnamed(combo), qPrintable(combo->objectName()));
        for (auto* list : window.findChildren<QAbstractItemView*>()) {
            // A list's headers are spoken as part of the list.
            if (qobject_cast<QHeaderView*>(list))
                continue;
            if (qobject_cast<QComboBox*>(list->parentWidget()) ||
                list->parentWidget()->inherits("QComboBoxPrivateContainer"))
                continue;
            QVERIFY2(!unnamed(list), qPrintable(list->objectName()));
        }
        for (auto* button : window.findChildren<QAbstractButton*>())
            QVERIFY2(!button->text().trimmed().isEmpty() || !button->accessibleName().isEmpty(),
                     qPrintable(button->objectName()));
    }

  private slots:
    void mainWindow() {
        Variabili v;
        SerialExchange serial(v);
        FormScriveMessaggi window(v, serial, programWindows(v));
        everyControlHasAName(window);
    }
    void saveWindow() {
        Variabili v;
        FormSalvaFile saveWindow(v);
        everyControlHasAName(saveWindow);
    }
    void copiesWindow() {
        UnitCopiesWindow window({});
        everyControlHasAName(window);
    }
    void editor() {
        Variabili v;
        EditaMessaggi editor(v, saveWindowOpener(v));
        everyControlHasAName(editor);
    }
    // What the editor says about the text reaches screen readers as text,
    // not only as a caption.
    void editorSpeaksItsFindings() {
        Variabili v;
        EditaMessaggi editor(v, saveWindowOpener(v));
        editor.findChild<QPlainTextEdit*>("Text1")->setPlainText("000A\nnota\n12 X\n");
        const auto spoken = [&](const char* name) {
            QAccessibleInterface* found =
                QAccessible::queryAccessibleInterface(editor.findChild<QWidget*>(name));
            return found ? found->text(QAccessible::Name) + u'|' +
                               found->text(QAccessible::Description)
                         : QString();
        };
        QVERIFY2(spoken("programmingSummary").contains("1 messaggio da inviare, 2 righe saltate"),
                 qPrintable(spoken("programmingSummary")));
        QVERIFY2(spoken("lineStatus").contains("Riga 1, colonna 1"),
                 qPrintable(spoken("lineStatus")));
        QVERIFY2(spoken("textPreview").contains(QStringLiteral("«A               »")),
                 qPrintable(spoken("textPreview")));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
