#include "AsUnprivilegedUser.h"
#include "Controls.h"
#include "ListRows.h"
#include "TypeText.h"
#include "app/ProgramWindows.h"
#include "core/Variabili.h"
#include "serial/SerialExchange.h"
#include "ui/common/DirectoryList.h"
#include "ui/common/DriveList.h"
#include "ui/common/FileList.h"
#include "ui/editor/EditaMessaggi.h"
#include "ui/main/FormScriveMessaggi.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

int px(int twips) {
    return twips / 15;
}

} // namespace

class TestFormScriveMessaggi : public QObject {
    Q_OBJECT

    std::unique_ptr<Variabili> m_v;
    std::unique_ptr<SerialExchange> m_serial;
    std::unique_ptr<FormScriveMessaggi> m_window;

    template <typename T> T* control(const char* name) {
        T* found = m_window->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("control %s missing", name);
        return found;
    }

  private slots:
    void init() {
        m_v = std::make_unique<Variabili>();
        m_v->Identificativo = "&C1";
        m_serial = std::make_unique<SerialExchange>(*m_v);
        m_window = std::make_unique<FormScriveMessaggi>(*m_v, *m_serial, programWindows(*m_v));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() {
        m_window.reset();
        m_serial.reset();
        m_v.reset();
    }

    void loadState() {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Tarvo             www.tarvo.example"));
        QCOMPARE(control<QLineEdit>("Text1")->text(),
                 QStringLiteral("Seleziona un file xxxxx.TVO per programmare"));
        QCOMPARE(control<QLineEdit>("Text2")->text(),
                 QStringLiteral("o Clicca Pulsante Test funzionamento"));
        // A status text longer than its box shows its beginning.
        QCOMPARE(control<QLineEdit>("Text1")->cursorPosition(), 0);
        QCOMPARE(control<QLineEdit>("Text3")->text(), QStringLiteral("X"));
        QCOMPARE(m_v->PortaCom, QByteArray("X"));
        QCOMPARE(control<QLineEdit>("IdStart")->text(), QStringLiteral("&C1"));
        QCOMPARE(m_v->Identificativo, QByteArray("&C1"));
        QCOMPARE(m_v->Stato, QByteArray("aspetta"));
        QVERIFY(m_v->FileSelezionato.isEmpty());
        QVERIFY(!control<QPushButton>("Command4")->isVisible());
        for (const char* name : {"Command1", "Command2", "Command3", "Command5", "LeggiTesti",
                                 "Drive1", "Dir1", "File1", "IdStart", "Text3"}) {
            QWidget* widget = control<QWidget>(name);
            QVERIFY2(widget->isVisible() && widget->isEnabled(), name);
        }
        QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("Identificativo Tarvo"));
        QCOMPARE(control<QLabel>("Label2")->text(), QStringLiteral("Identificativo Tarvo"));
        QCOMPARE(control<FileList>("File1")->path(), QDir::currentPath());
        QCOMPARE(control<DirectoryList>("Dir1")->path(), QDir::currentPath());
    }

    void fileSelectedIsEmptiedAtLoad() {
        Variabili state;
        state.FileSelezionato = "/tmp/vecchio.tvo";
        SerialExchange host(state);
        FormScriveMessaggi window(state, host, programWindows(state));
        QVERIFY(state.FileSelezionato.isEmpty());
        QCOMPARE(state.Stato, QByteArray("aspetta"));
    }

    void focusAtOpenAndTabOrder() {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QCOMPARE(QApplication::focusWidget(), control<QWidget>("Command1"));
        // Tab indexes 0 to 15; labels take no focus and Command4 is hidden.
        const QList<QWidget*> expected = {
            control<QWidget>("Text1"),    control<QWidget>("Text2"),
            control<QWidget>("File1"),    control<DirectoryList>("Dir1")->view(),
            control<QWidget>("Command2"), control<QWidget>("Drive1"),
            control<QWidget>("Command3"), control<QWidget>("Command5"),
            control<QWidget>("IdStart"),  control<QWidget>("LeggiTesti"),
            control<QWidget>("Text3"),    control<QWidget>("Command1")};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<qreal>("points");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Label2") << "Label2" << QRect(0, 0, 2040, 315) << 12.0 << false;
        QTest::newRow("Drive1") << "Drive1" << QRect(240, 240, 1455, 480) << 13.5 << false;
        QTest::newRow("Dir1") << "Dir1" << QRect(1800, 240, 3615, 2250) << 9.75 << true;
        QTest::newRow("File1") << "File1" << QRect(5760, 240, 2775, 2190) << 12.0 << true;
        QTest::newRow("Text1") << "Text1" << QRect(480, 2760, 5640, 495) << 13.5 << false;
        QTest::newRow("Text2") << "Text2" << QRect(480, 3360, 5640, 615) << 13.5 << false;
        QTest::newRow("Command5") << "Command5" << QRect(6600, 2775, 1920, 975) << 13.5 << false;
        QTest::newRow("Label1") << "Label1" << QRect(525, 4275, 2040, 315) << 12.0 << false;
        QTest::newRow("IdStart") << "IdStart" << QRect(2640, 4200, 690, 405) << 13.5 << false;
        QTest::newRow("Command4") << "Command4" << QRect(3975, 4200, 4950, 735) << 13.5 << false;
        QTest::newRow("Label3") << "Label3" << QRect(120, 4680, 2415, 375) << 12.0 << true;
        QTest::newRow("Text3") << "Text3" << QRect(2640, 4680, 495, 375) << 12.0 << true;
        QTest::newRow("Command3") << "Command3" << QRect(480, 5160, 2295, 975) << 13.5 << false;
        QTest::newRow("Command1") << "Command1" << QRect(3120, 5160, 1935, 975) << 13.5 << false;
        QTest::newRow("LeggiTesti")
            << "LeggiTesti" << QRect(5550, 5175, 1890, 915) << 13.5 << false;
        QTest::newRow("Command2") << "Command2" << QRect(8100, 5625, 1035, 750) << 13.5 << false;
    }

    void geometry() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(qreal, points);
        QFETCH(bool, bold);
        QWidget* widget = control<QWidget>(qPrintable(name));
        // Places count from the top left corner of the area under the menu bar.
        QCOMPARE(widget->parentWidget(), control<QWidget>("area"));
        QCOMPARE(widget->geometry(),
                 QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
        QCOMPARE(widget->font().bold(), bold);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            // A label keeps its size unless the stand-in type is too wide for it.
            QVERIFY(label->font().pointSizeF() <= points);
            QVERIFY(label->font().pointSizeF() >= points - 3);
            QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <=
                         label->contentsRect().width(),
                     qPrintable(label->text()));
            if (label->font().pointSizeF() < points) {
                QFont design = label->font();
                design.setPointSizeF(points);
                QVERIFY(QFontMetrics(design).horizontalAdvance(label->text()) >
                        label->contentsRect().width());
            }
        } else {
            QCOMPARE(widget->font().pointSizeF(), points);
        }
    }

    void windowSizeAndColours() {
        QWidget* area = control<QWidget>("area");
        QCOMPARE(area->size(), QSize(634, 433));
        const int barHeight = control<QMenuBar>("menuBar")->height();
        QVERIFY(barHeight > 0);
        QCOMPARE(area->pos(), QPoint(0, barHeight));
        QCOMPARE(m_window->size(), QSize(634, 433 + barHeight));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        QCOMPARE(control<QWidget>("Command4")->palette().color(QPalette::Button),
                 QColor(255, 0, 0));
        QCOMPARE(control<QWidget>("Label3")->palette().color(QPalette::Window),
                 QColor(255, 255, 128));
        QVERIFY(control<QWidget>("Label3")->autoFillBackground());
        QCOMPARE(control<QWidget>("Text3")->palette().color(QPalette::Base), QColor(255, 255, 0));
        QCOMPARE(control<QPushButton>("Command3")->text(), QStringLiteral("Test Funzionamento"));
        QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("Invia file al TARVO"));
        QCOMPARE(control<QPushButton>("LeggiTesti")->text(),
                 QStringLiteral("Leggi Testi dal TARVO"));
        QCOMPARE(control<QPushButton>("Command5")->text(), QStringLiteral("Modifica Testi"));
        QCOMPARE(control<QPushButton>("Command2")->text(), QStringLiteral("Exit"));
    }

    void identifierFollowsEveryKeystroke() {
        QLineEdit* box = control<QLineEdit>("IdStart");
        box->setFocus();
        box->end(false);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(m_v->Identificativo, QByteArray("&C"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QString());
        QCOMPARE(m_v->Identificativo, QByteArray());
        const QByteArray typed = "&C12";
        for (qsizetype i = 0; i < typed.size(); ++i) {
            QTest::keyClicks(box, QString(QChar::fromLatin1(typed[i])));
            QCOMPARE(m_v->Identificativo, typed.left(i + 1));
        }
    }

    void portFollowsEveryKeystroke() {
        QLineEdit* box = control<QLineEdit>("Text3");
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(m_v->PortaCom, QByteArray());
        QTest::keyClicks(box, QStringLiteral("1"));
        QCOMPARE(m_v->PortaCom, QByteArray("1"));
        QTest::keyClicks(box, QStringLiteral("2"));
        QCOMPARE(m_v->PortaCom, QByteArray("12"));
    }

    void windows1252CharactersAreKept() {
        QLineEdit* box = control<QLineEdit>("IdStart");
        box->clear();
        typeText(box, QStringLiteral("é"));
        typeText(box, QStringLiteral("€"));
        QCOMPARE(m_v->Identificativo, QByteArray("\xE9\x80"));
    }

    void foreignCharacterIsRefused_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("where");
        QTest::newRow("identifier") << "IdStart"
                                    << "identificativo";
        QTest::newRow("port") << "Text3"
                              << "porta COM";
    }

    void foreignCharacterIsRefused() {
        QFETCH(QString, box);
        QFETCH(QString, where);
        QLineEdit* edit = control<QLineEdit>(qPrintable(box));
        QByteArray& state = box == QLatin1String("IdStart") ? m_v->Identificativo : m_v->PortaCom;
        edit->setText(QStringLiteral("&C"));
        edit->end(false);
        typeText(edit, QStringLiteral("ł"));
        QCOMPARE(state, QByteArray("&C"));
        QCOMPARE(edit->text(), QStringLiteral("&C"));
        const QString message = control<QLineEdit>("Text2")->text();
        QVERIFY2(message.contains(QStringLiteral("ł")) && message.contains(where),
                 qPrintable(message));
        // A character outside the basic plane is named whole.
        typeText(edit, QStringLiteral("\U0001F600"));
        QCOMPARE(state, QByteArray("&C"));
        QVERIFY2(control<QLineEdit>("Text2")->text().contains(QStringLiteral("\U0001F600")),
                 qPrintable(control<QLineEdit>("Text2")->text()));
        // Typing goes on normally after the refusal.
        QTest::keyClicks(edit, QStringLiteral("5"));
        QCOMPARE(state, QByteArray("&C5"));
    }

    // The lower status box stays one line: what does not fit is its tooltip
    // and what a screen reader reads as its description.
    void cutStatusTextIsReadableWhole() {
        QLineEdit* text2 = control<QLineEdit>("Text2");
        typeText(control<QLineEdit>("Text3"), QStringLiteral("ł"));
        const QString message = text2->text();
        QVERIFY(text2->fontMetrics().horizontalAdvance(message) > text2->width());
        QCOMPARE(text2->toolTip(), message);
        QCOMPARE(QAccessible::queryAccessibleInterface(text2)->text(QAccessible::Description),
                 message);
        text2->setText(QStringLiteral("Tarvo risponde"));
        QCOMPARE(text2->toolTip(), QString());
    }

    void hintsWithoutFile_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text2");
        QTest::newRow("Invia file al TARVO") << "Command1"
                                             << "Cliccane uno dalla lista in alto a destra";
        QTest::newRow("Modifica Testi") << "Command5"
                                        << "Cliccane uno dalla lista ";
    }

    void hintsWithoutFile() {
        QFETCH(QString, button);
        QFETCH(QString, text2);
        const int windowsBefore = QApplication::topLevelWidgets().size();
        QTest::mouseClick(control<QPushButton>(qPrintable(button)), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("Devi selezionare un file"));
        QCOMPARE(control<QLineEdit>("Text2")->text(), text2);
        QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
        for (const char* name : {"Command1", "Command2", "Command3", "Command5", "LeggiTesti",
                                 "Drive1", "Dir1", "File1"})
            QVERIFY2(control<QWidget>(name)->isEnabled(), name);
        QCOMPARE(m_v->Stato, QByteArray("aspetta"));
    }

    void disableAndEnableCommands() {
        const QStringList commands = {"Command1",   "Command2", "Command3", "Command5",
                                      "LeggiTesti", "Drive1",   "Dir1",     "File1"};
        const QStringList untouched = {"IdStart", "Text3", "Text1", "Text2", "Command4"};
        m_window->DisabilitaComandi();
        for (const QString& name : commands)
            QVERIFY2(!control<QWidget>(qPrintable(name))->isEnabled(), qPrintable(name));
        for (const QString& name : untouched)
            QVERIFY2(control<QWidget>(qPrintable(name))->isEnabled(), qPrintable(name));
        m_window->AbilitaComandi();
        for (const QString& name : commands)
            QVERIFY2(control<QWidget>(qPrintable(name))->isEnabled(), qPrintable(name));
    }

    void acknowledgementClickSetsFlag() {
        QPushButton* button = control<QPushButton>("Command4");
        button->setVisible(true);
        QVERIFY(!m_v->ConfermaErrore);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(m_v->ConfermaErrore);
    }

    void selectedPathFollowsClicksNotFolders() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("altra")));
        for (const QString& name :
             {QStringLiteral("primo.tvo"), QStringLiteral("altra/SECONDO.TVO")}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        auto* dirs = control<DirectoryList>("Dir1");
        auto* files = control<FileList>("File1");
        dirs->setPath(dir.path());
        QCOMPARE(files->path(), QDir::cleanPath(dir.path()));
        clickRow(files, QStringLiteral("primo.tvo"));
        const QByteArray first = QFile::encodeName(QDir::cleanPath(dir.filePath("primo.tvo")));
        QCOMPARE(m_v->FileSelezionato, first);

        // The operator opens the sub-folder: the file list follows, the
        // selected file stays until another one is picked.
        QListView* dirView = dirs->view();
        QTRY_VERIFY(rowNamed(*dirView, QStringLiteral("altra")).isValid());
        const QRect another = dirView->visualRect(rowNamed(*dirView, QStringLiteral("altra")));
        QTest::mouseClick(dirView->viewport(), Qt::LeftButton, {}, another.center());
        QTest::mouseDClick(dirView->viewport(), Qt::LeftButton, {}, another.center());
        QTRY_COMPARE(files->path(), QDir::cleanPath(dir.filePath("altra")));
        QCOMPARE(m_v->FileSelezionato, first);
        clickRow(files, QStringLiteral("SECONDO.TVO"));
        QCOMPARE(m_v->FileSelezionato,
                 QFile::encodeName(QDir::cleanPath(dir.filePath("altra/SECONDO.TVO"))));
    }

    void focusArrivingPicksNoFile() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath(QStringLiteral("unico.tvo")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        auto* files = control<FileList>("File1");
        control<DirectoryList>("Dir1")->setPath(dir.path());
        QTRY_COMPARE(files->model()->rowCount(files->rootIndex()), 1);
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        // Tab from the status box above it in the focus order brings the
        // keyboard into the list: its entry gets the focus mark, nothing more.
        control<QLineEdit>("Text2")->setFocus();
        QTest::keyClick(control<QLineEdit>("Text2"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), files);
        QTRY_VERIFY(files->currentIndex().isValid());
        QVERIFY(m_v->FileSelezionato.isEmpty());
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("Devi selezionare un file"));
        // A key the operator presses in the list picks the marked entry.
        QTest::keyClick(files, Qt::Key_Down);
        QCOMPARE(m_v->FileSelezionato, QFile::encodeName(QDir::cleanPath(file.fileName())));
        QVERIFY(files->selectionModel()->isSelected(files->currentIndex()));
    }

    void driveChangeMovesBothLists() {
        auto* drives = control<DriveList>("Drive1");
        if (drives->count() < 2)
            QSKIP("only one readable volume is mounted here");
        const int current = drives->currentIndex();
        const int other = current == 0 ? 1 : 0;
        drives->setCurrentIndex(other);
        const QString root = QDir::cleanPath(drives->itemData(other).toString());
        QCOMPARE(control<DirectoryList>("Dir1")->path(), root);
        QCOMPARE(control<FileList>("File1")->path(), root);
        // Back on the drive that holds the current folder: that folder, as in
        // the save window, not the drive's root.
        drives->setCurrentIndex(current);
        QCOMPARE(control<DirectoryList>("Dir1")->path(), QDir::currentPath());
        QCOMPARE(control<FileList>("File1")->path(), QDir::currentPath());
    }

    // As a user without the right to a folder: a double click on it leaves
    // both lists where they were, and the lower box says why.
    void aFolderThatCannotBeEnteredIsNotEntered() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ExeOwner | QFile::ReadOther |
                                                      QFile::ExeOther));
        const QString closed = dir.filePath(QStringLiteral("chiusa"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("chiusa")));
        QVERIFY(QFile::setPermissions(closed, QFileDevice::Permissions()));
        const QString folder = QDir::cleanPath(dir.path());
        const std::optional<QByteArray> outcome = runAsUnprivilegedUser([&] {
            auto* folders = control<DirectoryList>("Dir1");
            folders->setPath(folder);
            const QModelIndex row = rowNamed(*folders->view(), QStringLiteral("chiusa"));
            if (!row.isValid())
                return QByteArray("no row");
            QListView* view = folders->view();
            const auto shownAt = [view, row] {
                return view->indexAt(view->visualRect(row).center()) == row;
            };
            if (!QTest::qWaitFor(shownAt))
                return QByteArray("row not laid out");
            const QPoint at = view->visualRect(row).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
            return QStringList{folders->path(), control<FileList>("File1")->path(),
                               control<QLineEdit>("Text2")->text()}
                .join(u'\n')
                .toUtf8();
        });
        QVERIFY(outcome);
        QCOMPARE(QString::fromUtf8(*outcome),
                 QStringList({folder, folder,
                              QStringLiteral("La cartella %1 non si può aprire: permesso negato")
                                  .arg(QDir::cleanPath(closed))})
                     .join(u'\n'));
    }

    // The folder shown deleted by another program, with the three above it:
    // both lists move to the nearest folder above it that is still there, and
    // follow it when the folder is made again.
    void aDeletedFolderMovesTheListsUp() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("a/b/c/d/e")));
        QFile file(dir.filePath(QStringLiteral("a/uno.tvo")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString above = QDir::cleanPath(dir.filePath(QStringLiteral("a")));
        const QString shown = above + QStringLiteral("/b/c/d/e");
        auto* folders = control<DirectoryList>("Dir1");
        auto* files = control<FileList>("File1");
        folders->setPath(shown);
        QCOMPARE(files->path(), shown);
        // The program started in the folder holds it as its working folder,
        // and is then told nothing of the folder's removal.
        const auto restore =
            qScopeGuard([started = QDir::currentPath()] { QDir::setCurrent(started); });
        QVERIFY(QDir::setCurrent(shown));
        QVERIFY(QDir(above + QStringLiteral("/b")).removeRecursively());
        QTRY_COMPARE(folders->path(), above);
        QCOMPARE(files->path(), above);
        QTRY_VERIFY(rowNamed(*files, QStringLiteral("uno.tvo")).isValid());
        QCOMPARE(
            control<QLineEdit>("Text2")->text(),
            QStringLiteral("La cartella %1 non esiste più: ora è mostrata %2").arg(shown, above));
        QVERIFY(QDir(above).mkpath(QStringLiteral("b")));
        QTRY_VERIFY(rowNamed(*folders->view(), QStringLiteral("b")).isValid());
    }

    void editorOpensOnSelectedFile_data() {
        QTest::addColumn<bool>("closeProgram");
        QTest::newRow("End") << false;
        QTest::newRow("program closed meanwhile") << true;
    }

    void editorOpensOnSelectedFile() {
        QFETCH(bool, closeProgram);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath(QStringLiteral("testi.tvo")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("commento\r\n000Primo testo     \r\nend\r\n");
        file.close();
        control<DirectoryList>("Dir1")->setPath(dir.path());
        clickRow(control<FileList>("File1"), QStringLiteral("testi.tvo"));
        QVERIFY(!m_v->FileSelezionato.isEmpty());

        QPointer<EditaMessaggi> editor;
        bool commandsDisabled = false;
        QTimer::singleShot(0, this, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* found = qobject_cast<EditaMessaggi*>(widget))
                    editor = found;
            }
            QVERIFY(editor);
            QVERIFY(editor->isVisible());
            QCOMPARE(controlOf<QLabel>(*editor, "Label1")->text(),
                     QString::fromLocal8Bit(m_v->FileSelezionato));
            commandsDisabled = !control<QWidget>("Command1")->isEnabled() &&
                               !control<QWidget>("File1")->isEnabled();
            if (closeProgram) {
                QVERIFY(!m_window->close());
                QVERIFY(m_window->isVisible());
            } else {
                QTest::mouseClick(controlOf<QPushButton>(*editor, "Command2"), Qt::LeftButton);
            }
        });
        QTest::mouseClick(control<QPushButton>("Command5"), Qt::LeftButton);
        QVERIFY(commandsDisabled);
        // The editor was unloaded by the handler that opened it.
        QVERIFY(editor.isNull());
        QVERIFY(control<QWidget>("Command1")->isEnabled());
        QCOMPARE(m_window->isHidden(), closeProgram);
        QCOMPARE(m_v->Stato, closeProgram ? QByteArray("Finisci") : QByteArray("aspetta"));
    }

    void exitAndCloseBoxRunClosingSteps_data() {
        QTest::addColumn<bool>("exitButton");
        QTest::newRow("Exit") << true;
        QTest::newRow("close box") << false;
    }

    void exitAndCloseBoxRunClosingSteps() {
        QFETCH(bool, exitButton);
        if (exitButton)
            QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
        else
            QVERIFY(m_window->close());
        QVERIFY(m_window->isHidden());
        QCOMPARE(m_v->Stato, QByteArray("Finisci"));
        QVERIFY(!m_v->closeRequested);
    }
};

QTEST_MAIN(TestFormScriveMessaggi)
#include "tst_formscrivemessaggi.moc"
