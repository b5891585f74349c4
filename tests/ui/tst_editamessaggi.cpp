#include "Controls.h"
#include "TempFiles.h"
#include "TypeText.h"
#include "core/Variabili.h"
#include "files/EditorText.h"
#include "ui/common/DirectoryList.h"
#include "ui/common/FileList.h"
#include "ui/editor/EditaMessaggi.h"
#include "ui/editor/TextPreview.h"
#include "ui/save/FormSalvaFile.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <functional>

namespace {

// The lines of the text area, one per block.
QStringList areaLines(const QPlainTextEdit& area) {
    QStringList list;
    for (QTextBlock block = area.document()->begin(); block.isValid(); block = block.next())
        list += block.text();
    return list;
}

} // namespace

class TestEditaMessaggi : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void appearance();
    void focusOrder();
    void showsTheFile_data();
    void showsTheFile();
    void fullReadFile();
    void textBeyondTwentyThousand();
    void charactersAbove127();
    void saveAndExit();
    void saveUnderNewName_data();
    void saveUnderNewName();
    void refusedCharacter();
    void endDiscards();
    void closeFromTitleBar();
    void programClosing();
    void unreadableFile_data();
    void unreadableFile();
    void marksFollowTyping();
    void statusOfTheCursorLine();
    void passedOverLinesOfAnOpenedFile();
    void linesOfTheFileNotShown();
    void coloursFollowThePalette();

  private:
    // Opens the editor on a file and shows it without a modal wait.
    EditaMessaggi& openWindow(const QString& path);
    // Presses "Salva " and, once the save window is up, runs chosenAction on it. When
    // no save window appears, the program is asked to close, so nothing hangs.
    bool saveWith(const std::function<void(FormSalvaFile&)>& chosenAction);

    TempFolder m_folder;
    Variabili m_v;
    std::unique_ptr<EditaMessaggi> m_editor;
};

void TestEditaMessaggi::init() {
    QVERIFY(m_folder.isValid());
    m_v = Variabili{};
}

void TestEditaMessaggi::cleanup() {
    m_editor.reset();
    m_folder.clear();
}

EditaMessaggi& TestEditaMessaggi::openWindow(const QString& path) {
    m_v.FileSelezionato = QFile::encodeName(path);
    m_editor = std::make_unique<EditaMessaggi>(m_v, saveWindowOpener(m_v));
    m_editor->show();
    return *m_editor;
}

bool TestEditaMessaggi::saveWith(const std::function<void(FormSalvaFile&)>& chosenAction) {
    bool opened = false;
    // A timer of this call's own: when no save window opened, it goes with
    // the call instead of firing later on what the call has left behind.
    QTimer control;
    control.setSingleShot(true);
    connect(&control, &QTimer::timeout, m_editor.get(), [&] {
        auto* window = m_editor->findChild<FormSalvaFile*>();
        if (!window || !window->isVisible()) {
            m_v.closeRequested = true;
            return;
        }
        opened = true;
        chosenAction(*window);
    });
    control.start(0);
    QTest::mouseClick(controlOf<QPushButton>(*m_editor, "Command1"), Qt::LeftButton);
    return opened;
}

void TestEditaMessaggi::appearance() {
    auto& editor = openWindow(m_folder.write("a.tvo", joinLines({"c", "000A", "end"})));
    QCOMPARE(
        editor.windowTitle(),
        QStringLiteral("Edita Messaggi (max.32 caratteri. Attenzione: lo spazio è un carattere)"));
    // Its own size, unless the system's fonts need more room for the contents.
    QCOMPARE(editor.size(), QSize(654, 501).expandedTo(editor.minimumSizeHint()));
    QCOMPARE(editor.findChild<QPushButton*>("Command1")->text(), QStringLiteral("Salva "));
    QCOMPARE(editor.findChild<QPushButton*>("Command2")->text(), QStringLiteral("End"));
    QCOMPARE(editor.findChild<QLabel*>("Label20")->text(),
             QStringLiteral("Commento memorizzato nel file (lo puoi cambiare dopo)"));
    // "Salva " and then "End" in the top right corner.
    const QRect saveButton = controlOf<QPushButton>(editor, "Command1")->geometry();
    const QRect endButton = controlOf<QPushButton>(editor, "Command2")->geometry();
    QVERIFY2(editor.width() - endButton.x() - endButton.width() <= 8,
             qPrintable(QString::number(endButton.right())));
    QVERIFY(saveButton.right() < endButton.left());
    QVERIFY(endButton.left() - saveButton.right() <= 12);
    QVERIFY(saveButton.top() <= 8 && endButton.top() <= 8);
    const QFont save = controlOf<QPushButton>(editor, "Command1")->font();
    QVERIFY(save.bold() && save.italic());
    QCOMPARE(save.pointSizeF(), 12.0);
    const QFont end = controlOf<QPushButton>(editor, "Command2")->font();
    QVERIFY(end.bold() && end.italic());
    QCOMPARE(end.pointSizeF(), 13.5);

    auto* area = editor.findChild<QPlainTextEdit*>("Text1");
    QVERIFY(area);
    QCOMPARE(area->font().pointSizeF(), 9.75);
    // Fixed pitch as drawn: every character is as wide as any other.
    const QFontMetricsF metrics(area->font());
    for (const QString& character : QStringList{"i", "W", " ", "0", "è", "€"})
        QCOMPARE(metrics.horizontalAdvance(character), metrics.horizontalAdvance("M"));
    QCOMPARE(area->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    // The text area fills about the lower three quarters of the window, and
    // its 72 columns show beside the line margin.
    QVERIFY(area->geometry().top() < editor.height() / 3);
    QVERIFY(area->geometry().top() > editor.height() / 8);
    QVERIFY2(area->height() >= editor.height() * 7 / 10,
             qPrintable(QString::number(area->height())));
    const qreal columns = (area->viewport()->width() - area->document()->documentMargin()) /
                          metrics.horizontalAdvance(QLatin1Char('M'));
    QVERIFY2(columns >= 72, qPrintable(QString::number(columns)));

    auto* comment = editor.findChild<QLineEdit*>("Text2");
    QCOMPARE(comment->palette().color(QPalette::Base), QPalette().color(QPalette::ToolTipBase));
}

void TestEditaMessaggi::focusOrder() {
    auto& editor = openWindow(m_folder.write("a.tvo", joinLines({"c", "000A", "end"})));
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    controlOf<QPushButton>(editor, "Command1")->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), controlOf<QPushButton>(editor, "Command1"));
    const QList<QWidget*> expectedRecords{
        controlOf<QLineEdit>(editor, "Text2"), controlOf<QPushButton>(editor, "Command2"),
        controlOf<MessageTextArea>(editor, "Text1"), controlOf<QPushButton>(editor, "Command1")};
    for (QWidget* expectedValue : expectedRecords) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), expectedValue);
    }
}

void TestEditaMessaggi::showsTheFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QStringList>("lines");

    const QString spaces19 = QString(19, u' ');
    QTest::newRow("only a comment line") << QByteArray("solo il commento\r\n")
                                         << QStringLiteral("Commento del file") << QStringList{};
    QTest::newRow("comment and one message line, nothing after")
        << joinLines({"Ingresso", "000BENVENUTI"}) << QStringLiteral("Ingresso") << QStringList{};
    QTest::newRow("separators, empty lines, out of range and after the end left out")
        << joinLines({"c", "000PRIMA           *", "---", "", "600FUORI", "512FUORI", "511ULTIMA",
                      "end", "002DOPO"})
        << QStringLiteral("c")
        << QStringList{QStringLiteral("000PRIMA           *"),
                       QStringLiteral("511ULTIMA") + QString(10, u' ')};
    QTest::newRow("short lines padded to 19")
        << joinLines({"c", "007", "1", "", "   ", "nota", "END"}) << QStringLiteral("c")
        << QStringList{QStringLiteral("007") + QString(16, u' '),
                       QStringLiteral("1") + QString(18, u' '), spaces19,
                       QStringLiteral("nota") + QString(15, u' ')};
    QTest::newRow("remark kept up to column 69")
        << joinLines({"c", "001PORTA APERTA    controllare il sensore",
                      "002" + QByteArray(16, 'x') + QByteArray(61, 'r'), "end"})
        << QStringLiteral("c")
        << QStringList{QStringLiteral("001PORTA APERTA    controllare il sensore"),
                       QStringLiteral("002") + QString(16, u'x') + QString(50, u'r')};
    QTest::newRow("mixed-case End is shown, endless ends")
        << joinLines({"c", "End of list", "endless", "003NO"}) << QStringLiteral("c")
        << QStringList{QStringLiteral("End of list") + QString(8, u' ')};
}

void TestEditaMessaggi::showsTheFile() {
    QFETCH(QByteArray, content);
    QFETCH(QString, comment);
    QFETCH(QStringList, lines);

    const QString path = m_folder.write("mostra.tvo", content);
    auto& editor = openWindow(path);
    QCOMPARE(editor.findChild<QLabel*>("Label1")->text(), QDir::toNativeSeparators(path));
    QCOMPARE(editor.findChild<QLineEdit*>("Text2")->text(), comment);
    const QStringList expectedLines =
        lines.isEmpty() ? QStringList{QString()} : lines + QStringList{""};
    QCOMPARE(areaLines(*controlOf<MessageTextArea>(editor, "Text1")), expectedLines);
    QVERIFY(controlOf<QLabel>(editor, "Messaggio")->text().isEmpty());
}

void TestEditaMessaggi::fullReadFile() {
    QByteArrayList lineList{"Letti dal TARVO"};
    for (int address = 0; address < 512; ++address) {
        QByteArray text = QByteArray::number(address).rightJustified(3, '0');
        text += QByteArray("TESTO ") + QByteArray::number(address * 7).leftJustified(10, '.');
        lineList += text + "*";
    }
    lineList += QByteArray();
    lineList += "end";
    auto& editor = openWindow(m_folder.write("tutti.tvo", joinLines(lineList)));

    const QStringList shownLines = areaLines(*controlOf<MessageTextArea>(editor, "Text1"));
    QCOMPARE(shownLines.size(), 513);
    for (int address = 0; address < 512; ++address) {
        QCOMPARE(shownLines.at(address).size(), 20);
        QCOMPARE(shownLines.at(address), QString::fromLatin1(lineList.at(address + 1)));
    }
    QCOMPARE(shownLines.last(), QString());
    QCOMPARE(controlOf<QLineEdit>(editor, "Text2")->text(), QStringLiteral("Letti dal TARVO"));
}

void TestEditaMessaggi::textBeyondTwentyThousand() {
    QByteArrayList lineList{"lungo"};
    for (int line = 0; line < 400; ++line)
        lineList += "001" + QByteArray::number(line).leftJustified(16, '-') + QByteArray(50, 'r');
    lineList += "end";
    const QByteArray content = joinLines(lineList);
    QVERIFY(content.size() > 20000 * 1.4);
    auto& editor = openWindow(m_folder.write("lungo.tvo", content));

    const QStringList shownLines = areaLines(*controlOf<MessageTextArea>(editor, "Text1"));
    QCOMPARE(shownLines.size(), 401);
    QCOMPARE(shownLines.at(399), QString::fromLatin1(lineList.at(400)));
    QCOMPARE(controlOf<MessageTextArea>(editor, "Text1")->document()->characterCount() - 1,
             400 * 70);
}

void TestEditaMessaggi::charactersAbove127() {
    QByteArrayList lineList{QByteArray("Caff\xE8 \x80 5")};
    for (int line = 0; line < 8; ++line) {
        QByteArray text = QByteArray::number(line).rightJustified(3, '0');
        for (int bytes = 0; bytes < 16; ++bytes)
            text += static_cast<char>(0x80 + line * 16 + bytes);
        lineList += text + "\t*";
    }
    lineList += "end";
    auto& editor = openWindow(m_folder.write("alti.tvo", joinLines(lineList)));

    QCOMPARE(controlOf<QLineEdit>(editor, "Text2")->text(), QStringLiteral("Caffè € 5"));
    const QStringList shownLines = areaLines(*controlOf<MessageTextArea>(editor, "Text1"));
    QCOMPARE(shownLines.size(), 9);
    QCOMPARE(shownLines.at(0).mid(3, 1), QStringLiteral("€"));
    QCOMPARE(shownLines.at(0).at(4), QChar(0x81));
    QCOMPARE(shownLines.at(1).mid(3 + 0xF, 1), QStringLiteral("Ÿ"));
    QCOMPARE(shownLines.at(2).at(3), QChar(0xA0));
    QCOMPARE(shownLines.at(6).mid(3 + 8, 1), QStringLiteral("è"));
    QCOMPARE(shownLines.at(7).mid(3 + 15, 1), QStringLiteral("ÿ"));

    const QString newFile = QDir(m_folder.path()).filePath("copia.tvo");
    QString firstComment;
    QVERIFY(saveWith([&](FormSalvaFile& window) {
        firstComment = controlOf<QLineEdit>(window, "Text2")->text();
        controlOf<DirectoryList>(window, "Dir1")->setPath(m_folder.path());
        controlOf<QLineEdit>(window, "Text1")->setText("copia.tvo");
        controlOf<QLineEdit>(window, "Text2")->setText(QStringLiteral("è"));
        QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    }));
    // The save window starts from the file's comment, so saving over the file keeps it.
    QCOMPARE(firstComment, QStringLiteral("Caffè € 5"));
    QByteArray body;
    for (int line = 1; line <= 8; ++line)
        body += lineList.at(line) + "\r\n";
    QCOMPARE(m_v.TestoMessaggi, body);
    QCOMPARE(readFile(newFile), "\xE8\r\n" + body + "\r\nend\r\n");
}

void TestEditaMessaggi::saveAndExit() {
    const QByteArray body = joinLines({"000UNO", "001DUE               remark"});
    const QString path = m_folder.write("a.tvo", joinLines({"c"}) + body + joinLines({"end"}));
    auto& editor = openWindow(path);
    const QStringList before = areaLines(*controlOf<MessageTextArea>(editor, "Text1"));
    for (int round = 0; round < 2; ++round) {
        QVERIFY(saveWith([](FormSalvaFile& window) {
            QTest::mouseClick(controlOf<QPushButton>(window, "Command2"), Qt::LeftButton);
        }));
        QVERIFY(editor.isVisible());
        QVERIFY(!editor.findChild<FormSalvaFile*>());
        QCOMPARE(areaLines(*controlOf<MessageTextArea>(editor, "Text1")), before);
        QCOMPARE(m_v.FileSelezionato, QFile::encodeName(path));
        QCOMPARE(QDir(m_folder.path()).entryList(QDir::Files), QStringList{"a.tvo"});
    }
}

void TestEditaMessaggi::saveUnderNewName_data() {
    QTest::addColumn<QString>("areaText");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("as loaded, ending in a line end")
        << QString() << joinLines({"000UNO" + QByteArray(13, ' '), "nota" + QByteArray(15, ' ')});
    QTest::newRow("last line without a line end")
        << QStringLiteral("000A\n001B") << QByteArray("000A\r\n001B");
    QTest::newRow("empty lines and a long line kept")
        << QStringLiteral("\n\n002") + QString(40, u'z') + QStringLiteral("\n")
        << QByteArray("\r\n\r\n002") + QByteArray(40, 'z') + "\r\n";
    QTest::newRow("empty text") << QStringLiteral("") << QByteArray();
}

void TestEditaMessaggi::saveUnderNewName() {
    QFETCH(QString, areaText);
    QFETCH(QByteArray, body);

    const QString old =
        m_folder.write("vecchio.tvo", joinLines({"vecchio", "000UNO", "nota", "end"}));
    auto& editor = openWindow(old);
    if (!areaText.isNull()) {
        controlOf<MessageTextArea>(editor, "Text1")->clear();
        controlOf<MessageTextArea>(editor, "Text1")->setFocus();
        typeText(controlOf<MessageTextArea>(editor, "Text1"), areaText.section(u'\n', 0, 0));
        for (const QString& line : areaText.split(u'\n').mid(1)) {
            QTest::keyClick(controlOf<MessageTextArea>(editor, "Text1"), Qt::Key_Return);
            typeText(controlOf<MessageTextArea>(editor, "Text1"), line);
        }
    }
    const QString newFile = QDir(m_folder.path()).filePath("nuovo.tvo");
    QVERIFY(saveWith([&](FormSalvaFile& window) {
        controlOf<DirectoryList>(window, "Dir1")->setPath(m_folder.path());
        controlOf<QLineEdit>(window, "Text1")->setText("nuovo.tvo");
        controlOf<QLineEdit>(window, "Text2")->setText("commento nuovo");
        QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    }));
    QCOMPARE(readFile(newFile), "commento nuovo\r\n" + body + "\r\nend\r\n");
    QCOMPARE(m_v.TestoMessaggi, body);
    QCOMPARE(m_v.FileSelezionato, QFile::encodeName(newFile));
    QVERIFY(editor.isVisible());
    QCOMPARE(controlOf<QLabel>(editor, "Label1")->text(), QDir::toNativeSeparators(old));
    QCOMPARE(readFile(old), joinLines({"vecchio", "000UNO", "nota", "end"}));
}

void TestEditaMessaggi::refusedCharacter() {
    auto& editor = openWindow(m_folder.write("a.tvo", joinLines({"c", "000A", "end"})));
    const QByteArray loaded = m_v.TestoMessaggi;
    controlOf<MessageTextArea>(editor, "Text1")->setFocus();
    QTest::keyClick(controlOf<MessageTextArea>(editor, "Text1"), Qt::Key_End, Qt::ControlModifier);
    typeText(controlOf<MessageTextArea>(editor, "Text1"), QStringLiteral("001Łód"));
    QVERIFY(!saveWith([](FormSalvaFile&) {}));
    QVERIFY(controlOf<QLabel>(editor, "Messaggio")->text().contains(QStringLiteral("«Ł»")));
    QVERIFY(controlOf<QLabel>(editor, "Messaggio")->text().contains(QStringLiteral("riga 2")));
    QCOMPARE(m_v.TestoMessaggi, loaded);

    m_v.closeRequested = false;
    controlOf<MessageTextArea>(editor, "Text1")->setPlainText(QStringLiteral("000A\n\n002 ok 😀\n"));
    QVERIFY(!saveWith([](FormSalvaFile&) {}));
    QVERIFY(controlOf<QLabel>(editor, "Messaggio")->text().contains(QStringLiteral("«😀»")));
    QVERIFY(controlOf<QLabel>(editor, "Messaggio")->text().contains(QStringLiteral("riga 3")));
    QCOMPARE(m_v.TestoMessaggi, loaded);

    m_v.closeRequested = false;
    controlOf<MessageTextArea>(editor, "Text1")->setPlainText(QStringLiteral("001Lód\n"));
    QVERIFY(saveWith([](FormSalvaFile& window) { window.close(); }));
    QVERIFY(controlOf<QLabel>(editor, "Messaggio")->text().isEmpty());
    QCOMPARE(m_v.TestoMessaggi, QByteArray("001L\xF3"
                                           "d\r\n"));
}

void TestEditaMessaggi::endDiscards() {
    const QString path = m_folder.write("a.tvo", joinLines({"c", "000A", "end"}));
    auto& editor = openWindow(path);
    editor.hide();
    const QByteArray loaded = m_v.TestoMessaggi;
    QTimer::singleShot(0, &editor, [&] {
        QTest::keyClicks(controlOf<MessageTextArea>(editor, "Text1"), "cambiato");
        QTest::mouseClick(controlOf<QPushButton>(editor, "Command2"), Qt::LeftButton);
    });
    editor.showModal();
    QVERIFY(!editor.isVisible());
    QCOMPARE(m_v.TestoMessaggi, loaded);
    QCOMPARE(m_v.FileSelezionato, QFile::encodeName(path));
    QCOMPARE(QDir(m_folder.path()).entryList(QDir::Files), QStringList{"a.tvo"});
    QCOMPARE(readFile(path), joinLines({"c", "000A", "end"}));
}

void TestEditaMessaggi::closeFromTitleBar() {
    auto& editor = openWindow(m_folder.write("a.tvo", joinLines({"c", "000A", "end"})));
    editor.hide();
    QTimer::singleShot(0, &editor, [&] { editor.close(); });
    editor.showModal();
    QVERIFY(!editor.isVisible());
    QCOMPARE(QDir(m_folder.path()).entryList(QDir::Files), QStringList{"a.tvo"});
}

void TestEditaMessaggi::programClosing() {
    auto& editor = openWindow(m_folder.write("a.tvo", joinLines({"c", "000A", "end"})));
    editor.hide();
    // The request comes while the save window is shown inside the editor:
    // both return, neither writes.
    QTimer::singleShot(0, &editor, [&] {
        QVERIFY(saveWith([&](FormSalvaFile& window) {
            controlOf<DirectoryList>(window, "Dir1")->setPath(m_folder.path());
            controlOf<QLineEdit>(window, "Text1")->setText("nuovo.tvo");
            m_v.closeRequested = true;
        }));
    });
    editor.showModal();
    QVERIFY(!editor.isVisible());
    QCOMPARE(QDir(m_folder.path()).entryList(QDir::Files), QStringList{"a.tvo"});
}

void TestEditaMessaggi::unreadableFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("folder");

    QTest::newRow("missing file") << QStringLiteral("manca.tvo") << false;
    QTest::newRow("a folder") << QStringLiteral("cartella.tvo") << true;
    QTest::newRow("empty file") << QStringLiteral("vuoto.tvo") << false;
}

void TestEditaMessaggi::unreadableFile() {
    QFETCH(QString, name);
    QFETCH(bool, folder);

    const QString path = QDir(m_folder.path()).filePath(name);
    if (folder)
        QVERIFY(QDir().mkpath(path));
    if (name == "vuoto.tvo")
        m_folder.write(name, {});
    auto& editor = openWindow(path);
    QCOMPARE(controlOf<QLabel>(editor, "Label1")->text(), QDir::toNativeSeparators(path));
    QVERIFY(controlOf<QLabel>(editor, "Messaggio")->isVisible());
    QVERIFY(
        controlOf<QLabel>(editor, "Messaggio")->text().contains(QDir::toNativeSeparators(path)));
    QCOMPARE(controlOf<MessageTextArea>(editor, "Text1")->toPlainText(), QString());
    QCOMPARE(controlOf<QLineEdit>(editor, "Text2")->text(), QStringLiteral("Commento del file"));

    // The editor stays usable: new texts typed in can be saved as a new file.
    QTest::keyClicks(controlOf<MessageTextArea>(editor, "Text1"), "000NUOVO");
    const QString newFile = QDir(m_folder.path()).filePath("nuovo.tvo");
    QVERIFY(saveWith([&](FormSalvaFile& window) {
        controlOf<DirectoryList>(window, "Dir1")->setPath(m_folder.path());
        controlOf<QLineEdit>(window, "Text1")->setText("nuovo.tvo");
        QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    }));
    QCOMPARE(readFile(newFile), QByteArray("\r\n000NUOVO\r\nend\r\n"));
    QVERIFY(
        controlOf<QLabel>(editor, "Messaggio")->text().contains(QDir::toNativeSeparators(path)));
    if (folder)
        QVERIFY(QDir(path).removeRecursively());
}

// Typed mistakes are marked for screen readers and counted as soon as they are
// typed; a line end typed with Shift counts as the line end saving writes.
void TestEditaMessaggi::marksFollowTyping() {
    auto& editor = openWindow(m_folder.write("a.tvo", joinLines({"c", "000A", "end"})));
    auto* margin = editor.findChild<QWidget*>("lineMarks");
    auto* summary = editor.findChild<QLabel*>("programmingSummary");
    QVERIFY(margin && summary);
    controlOf<MessageTextArea>(editor, "Text1")->setFocus();
    QTest::keyClick(controlOf<MessageTextArea>(editor, "Text1"), Qt::Key_End, Qt::ControlModifier);
    for (const char* line : {"12 CORTO", "000DOPPIO", "end", "005DOPO"}) {
        QTest::keyClicks(controlOf<MessageTextArea>(editor, "Text1"), line);
        QTest::keyClick(controlOf<MessageTextArea>(editor, "Text1"), Qt::Key_Return);
    }
    const QString marks = margin->accessibleDescription();
    for (const QString& expectedValue :
         {QStringLiteral("riga 2, salta: senza indirizzo"),
          QStringLiteral("riga 3, invia: indirizzo 000 già alla riga 1"),
          QStringLiteral("riga 4, fine: riga di fine"),
          QStringLiteral("riga 5, mai: dopo la riga di fine (riga 4): mai letta")})
        QVERIFY2(marks.contains(expectedValue), qPrintable(marks));
    QCOMPARE(summary->text(), QStringLiteral("Programmazione: 2 messaggi da inviare, 1 riga "
                                             "saltata, 1 riga dopo la fine, 1 indirizzo doppio"));

    controlOf<MessageTextArea>(editor, "Text1")->selectAll();
    QTest::keyClicks(controlOf<MessageTextArea>(editor, "Text1"), "000A");
    QTest::keyClick(controlOf<MessageTextArea>(editor, "Text1"), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(controlOf<MessageTextArea>(editor, "Text1"), "001B");
    QTRY_COMPARE(areaLines(*controlOf<MessageTextArea>(editor, "Text1")),
                 (QStringList{"000A", "001B"}));
    QCOMPARE(summary->text(),
             QStringLiteral("Programmazione: 2 messaggi da inviare, 0 righe saltate"));
    QCOMPARE(margin->accessibleDescription(), QStringLiteral("Nessuna riga segnata"));

    // Beyond the message table the summary says what programming does with the file.
    QStringList many;
    for (int line = 0; line < 592; ++line)
        many += QStringLiteral("%1X").arg(line % 512, 3, 10, QLatin1Char('0'));
    controlOf<MessageTextArea>(editor, "Text1")->setPlainText(many.join(u'\n'));
    QTRY_VERIFY2(summary->text().startsWith(QStringLiteral(
                     "Programmazione: 592 messaggi, più dei 591 che si possono inviare in una "
                     "volta: Invia file al TARVO rifiuterà il file, 0 righe saltate")),
                 qPrintable(summary->text()));
}

void TestEditaMessaggi::statusOfTheCursorLine() {
    auto& editor = openWindow(m_folder.write(
        "a.tvo", joinLines({"c", "000DOPPIO", "001TESTO DI 17 CARAT", "nota\tTAB", "end"})));
    auto* state = editor.findChild<QLabel*>("lineStatus");
    auto* preview = editor.findChild<TextPreview*>();
    QVERIFY(state && preview);
    controlOf<MessageTextArea>(editor, "Text1")->setFocus();
    QTest::keyClick(controlOf<MessageTextArea>(editor, "Text1"), Qt::Key_Down);
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(controlOf<MessageTextArea>(editor, "Text1"), Qt::Key_Right);
    QCOMPARE(state->text(), QStringLiteral("Riga 2, colonna 8 · testo, carattere 5 di 16 · "
                                           "inviata all'indirizzo 001; dal 17° carattere in "
                                           "poi («T») è commento: non va all'unità"));
    QCOMPARE(preview->text(), QStringLiteral("TESTO DI 17 CARA"));

    QTest::keyClick(controlOf<MessageTextArea>(editor, "Text1"), Qt::Key_Down);
    QTest::keyClick(controlOf<MessageTextArea>(editor, "Text1"), Qt::Key_Home);
    QCOMPARE(state->text(),
             QStringLiteral("Riga 3, colonna 1 · indirizzo, cifra 1 di 3 · una tabulazione alla "
                            "colonna 5 sposta le colonne; senza indirizzo (le colonne 1-3 non "
                            "sono tre cifre): non inviata"));
    QVERIFY(controlOf<MessageTextArea>(editor, "Text1")
                ->accessibleDescription()
                .startsWith(QStringLiteral("Riga 3: ")));

    // A tab on a sent line and on a skipped one: the margin's word tells them apart.
    controlOf<MessageTextArea>(editor, "Text1")->setPlainText("002\tSI\nnota\tNO\n");
    QCOMPARE(editor.findChild<QWidget*>("lineMarks")->accessibleDescription().section(':', 0, 0),
             QStringLiteral("riga 1, invia"));
    QVERIFY(editor.findChild<QWidget*>("lineMarks")
                ->accessibleDescription()
                .contains(QStringLiteral("riga 2, salta: una tabulazione")));
}

// The empty position after the final line end is no line: a file with two
// lines that programming passes over says two.
void TestEditaMessaggi::passedOverLinesOfAnOpenedFile() {
    auto& editor = openWindow(
        m_folder.write("a.tvo", joinLines({"c", "000A", "nota uno", "nota due", "end"})));
    QCOMPARE(editor.findChild<QLabel*>("programmingSummary")->text(),
             QStringLiteral("Programmazione: 1 messaggio da inviare, 2 righe saltate"));
    QVERIFY(!editor.findChild<QWidget*>("lineMarks")->accessibleDescription().contains("riga 4"));
    controlOf<MessageTextArea>(editor, "Text1")->setPlainText("000A\n\n");
    QCOMPARE(editor.findChild<QLabel*>("programmingSummary")->text(),
             QStringLiteral("Programmazione: 1 messaggio da inviare, 1 riga saltata"));
}

void TestEditaMessaggi::linesOfTheFileNotShown() {
    auto& editor = openWindow(m_folder.write(
        "a.tvo", joinLines({"c", "000A", "---", "600FUORI", "001B", "end", "002DOPO", "003DOPO"})));
    const auto* note = editor.findChild<QLabel*>("hiddenLines");
    QVERIFY(note && note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("4 righe del file non mostrate: Salva non le riscrive"));
    for (const QString& line : {QStringLiteral("riga 3: ---"), QStringLiteral("riga 4: 600FUORI"),
                                QStringLiteral("riga 8: 003DOPO")})
        QVERIFY2(note->toolTip().contains(line), qPrintable(note->toolTip()));
    QVERIFY(!note->toolTip().contains(QStringLiteral("001B")));
    QVERIFY(!note->toolTip().contains(QStringLiteral("end")));

    auto& single = openWindow(m_folder.write("b.tvo", joinLines({"c", "000A", "end", "001B"})));
    QCOMPARE(single.findChild<QLabel*>("hiddenLines")->text(),
             QStringLiteral("1 riga del file non mostrata: Salva non la riscrive"));

    // A file the program wrote hides nothing that Salva would lose.
    auto& saved = openWindow(m_folder.write("c.tvo", joinLines({"c", "000A", "", "end"})));
    QVERIFY(saved.findChild<QLabel*>("hiddenLines")->isHidden());

    // The tooltip lists the first hidden lines and counts only the others.
    QByteArrayList many{"c", "000A", "end"};
    many += QByteArrayList(EditorText::keptHiddenLines + 10, "dopo");
    auto& manyAfterEnd = openWindow(m_folder.write("d.tvo", joinLines(many)));
    const QString tip = manyAfterEnd.findChild<QLabel*>("hiddenLines")->toolTip();
    QVERIFY2(tip.contains(QStringLiteral("… e altre 10 righe")), qPrintable(tip));
}

void TestEditaMessaggi::coloursFollowThePalette() {
    auto& editor = openWindow(m_folder.write("a.tvo", joinLines({"c", "000BENVENUTI", "end"})));
    const auto textBackground = [&] {
        const QTextBlock blockSize =
            controlOf<MessageTextArea>(editor, "Text1")->document()->firstBlock();
        for (const QTextLayout::FormatRange& interval : blockSize.layout()->formats())
            if (interval.start == 3)
                return interval.format.background().color();
        return QColor();
    };
    QVERIFY(textBackground().lightness() > 128);
    QPalette dark = controlOf<MessageTextArea>(editor, "Text1")->palette();
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(220, 220, 220));
    controlOf<MessageTextArea>(editor, "Text1")->setPalette(dark);
    QVERIFY(textBackground().lightness() < 100);
}

QTEST_MAIN(TestEditaMessaggi)
#include "tst_editamessaggi.moc"
