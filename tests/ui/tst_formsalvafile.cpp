#include "AsUnprivilegedUser.h"
#include "Controls.h"
#include "FileSizeLimit.h"
#include "TempFiles.h"
#include "TypeText.h"
#include "core/Variabili.h"
#include "ui/save/FormSalvaFile.h"
#include "ui/common/DirectoryList.h"
#include "ui/common/DriveList.h"
#include "ui/common/FileList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray sampleBody = "000PRIMO           *\r\n001SECONDO         *\r\n";

QColor backgroundOf(const QLabel& label) {
    return label.palette().color(QPalette::Window);
}

const QColor lightRed(255, 192, 192);

} // namespace

class TestFormSalvaFile : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void appearance();
    void focusOrder();
    void loading();
    void folderChange();
    void nameRefused_data();
    void nameRefused();
    void nameAccepted_data();
    void nameAccepted();
    void nameCorrectedAfterRefusal();
    void replacesChosenFile();
    void aFileThatSalvaWouldReplaceIsAnnounced();
    void keyboardChoice();
    void tabThroughFileListReplacesNothing();
    void comment_data();
    void comment();
    void refusedComment();
    void exitWithoutSaving();
    void closeFromTitleBar();
    void writeFailure_data();
    void writeFailure();
    void readOnlyFile();
    void showModal();
    void programClosing();

  private:
    // A save window on the test folder, shown without a modal wait.
    FormSalvaFile& openWindow();
    void waitForList(int lines);

    TempFolder m_folder;
    Variabili m_v;
    std::unique_ptr<FormSalvaFile> m_window;
};

void TestFormSalvaFile::init() {
    QVERIFY(m_folder.isValid());
    m_v = Variabili{};
    m_v.TestoMessaggi = sampleBody;
    m_v.FileSelezionato = "/prima/scelto.tvo";
}

void TestFormSalvaFile::cleanup() {
    m_window.reset();
    m_folder.clear();
}

FormSalvaFile& TestFormSalvaFile::openWindow() {
    m_window = std::make_unique<FormSalvaFile>(m_v);
    controlOf<DirectoryList>(*m_window, "Dir1")->setPath(m_folder.path());
    m_window->show();
    [&] { QVERIFY(QTest::qWaitForWindowExposed(m_window.get())); }();
    return *m_window;
}

void TestFormSalvaFile::waitForList(int lines) {
    FileList* list = controlOf<FileList>(*m_window, "File1");
    QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), lines);
}

void TestFormSalvaFile::appearance() {
    auto& window = openWindow();
    QCOMPARE(window.windowTitle(), QStringLiteral("FormSalvaFile"));
    QCOMPARE(window.size(), QSize(514, 436));
    QVERIFY(window.findChild<DriveList*>("Drive1"));
    QVERIFY(window.findChild<DirectoryList*>("Dir1"));
    QVERIFY(window.findChild<FileList*>("File1"));
    QCOMPARE(window.findChild<QLabel*>("Label3")->text(), QStringLiteral("Path :"));
    QCOMPARE(window.findChild<QLabel*>("Label1")->text(),
             QStringLiteral("Deve avere estensione .tvo"));
    QCOMPARE(window.findChild<QLabel*>("Label4")->text(),
             QStringLiteral("Puoi aggiungere qui un commento da memorizzare nel file"));
    QCOMPARE(window.findChild<QLineEdit*>("Text1")->text(), QStringLiteral("File name"));
    QCOMPARE(window.findChild<QPushButton*>("Command2")->text(),
             QStringLiteral("Esci senza salvare"));
    QCOMPARE(window.findChild<QPushButton*>("Command1")->text(), QStringLiteral("Salva"));

    QVERIFY(controlOf<QLabel>(window, "Label1")->font().bold());
    QCOMPARE(controlOf<QLabel>(window, "Label1")->font().pointSizeF(), 9.75);
    QVERIFY(controlOf<QLabel>(window, "Label1")->autoFillBackground());
    QVERIFY(backgroundOf(*controlOf<QLabel>(window, "Label1")) != lightRed);
    for (QPushButton* button :
         {controlOf<QPushButton>(window, "Command1"), controlOf<QPushButton>(window, "Command2")}) {
        QVERIFY(button->font().bold());
        QCOMPARE(button->font().pointSizeF(), 18.0);
    }
    QCOMPARE(controlOf<QLineEdit>(window, "Text2")->palette().color(QPalette::Base),
             QPalette().color(QPalette::ToolTipBase));
    // Lists on top, the buttons at the bottom, "Esci senza salvare" on the left.
    QVERIFY(controlOf<DirectoryList>(window, "Dir1")->geometry().bottom() <
            controlOf<QLabel>(window, "Label2")->geometry().top());
    QVERIFY(controlOf<QLineEdit>(window, "Text2")->geometry().bottom() <
            controlOf<QPushButton>(window, "Command1")->geometry().top());
    QVERIFY(controlOf<QPushButton>(window, "Command2")->geometry().right() <
            controlOf<QPushButton>(window, "Command1")->geometry().left());
    QVERIFY(controlOf<DriveList>(window, "Drive1")->geometry().right() <
            controlOf<DirectoryList>(window, "Dir1")->geometry().left());
    QVERIFY(controlOf<DirectoryList>(window, "Dir1")->geometry().right() <
            controlOf<FileList>(window, "File1")->geometry().left());
}

void TestFormSalvaFile::focusOrder() {
    auto& window = openWindow();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    controlOf<DriveList>(window, "Drive1")->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), controlOf<DriveList>(window, "Drive1"));
    const QList<QWidget*> expectedRecords{
        controlOf<FileList>(window, "File1"),  controlOf<DirectoryList>(window, "Dir1")->view(),
        controlOf<QLineEdit>(window, "Text1"), controlOf<QPushButton>(window, "Command1"),
        controlOf<QLineEdit>(window, "Text2"), controlOf<QPushButton>(window, "Command2"),
        controlOf<DriveList>(window, "Drive1")};
    for (QWidget* expectedValue : expectedRecords) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), expectedValue);
    }
}

void TestFormSalvaFile::loading() {
    const QString current = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_folder.path()));
    m_folder.write("uno.tvo", "x");
    m_folder.write("altro.txt", "x");
    m_v.CommentoDaSalvare = "Letti il 3 \xE8";
    FormSalvaFile window(m_v);
    QDir::setCurrent(current);

    const QString folder = QDir(m_folder.path()).canonicalPath();
    QCOMPARE(QDir(controlOf<DirectoryList>(window, "Dir1")->path()).canonicalPath(), folder);
    QCOMPARE(QDir(controlOf<FileList>(window, "File1")->path()).canonicalPath(), folder);
    QCOMPARE(controlOf<QLabel>(window, "Label2")->text(),
             QDir::toNativeSeparators(controlOf<FileList>(window, "File1")->path()) + "/");
    QCOMPARE(controlOf<QLineEdit>(window, "Text2")->text(), QStringLiteral("Letti il 3 è"));
    QTRY_COMPARE(controlOf<FileList>(window, "File1")
                     ->model()
                     ->rowCount(controlOf<FileList>(window, "File1")->rootIndex()),
                 1);
}

void TestFormSalvaFile::folderChange() {
    QVERIFY(QDir(m_folder.path()).mkdir("sotto"));
    m_folder.write("sotto/a.tvo", "x");
    m_folder.write("sotto/b.TVO", "x");
    auto& window = openWindow();
    waitForList(0);
    controlOf<DirectoryList>(window, "Dir1")->setPath(m_folder.filePath("sotto"));
    QCOMPARE(controlOf<FileList>(window, "File1")->path(), m_folder.filePath("sotto"));
    QCOMPARE(controlOf<QLabel>(window, "Label2")->text(),
             QDir::toNativeSeparators(m_folder.filePath("sotto")) + "/");
    waitForList(2);

    // At the root the path label holds a single separator.
    controlOf<DirectoryList>(window, "Dir1")->setPath(QDir::rootPath());
    QCOMPARE(controlOf<QLabel>(window, "Label2")->text(),
             QDir::toNativeSeparators(QDir::rootPath()));
}

void TestFormSalvaFile::nameRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("initial text") << QStringLiteral("File name");
    QTest::newRow("empty") << QString();
    QTest::newRow("tvo without the dot") << QStringLiteral("nometvo");
    QTest::newRow("short") << QStringLiteral("tvo");
    QTest::newRow("other extension") << QStringLiteral("nome.txt");
    QTest::newRow("trailing space") << QStringLiteral("nome.tvo ");
    QTest::newRow("extension in the middle") << QStringLiteral("nome.tvo.bak");
}

void TestFormSalvaFile::nameRefused() {
    QFETCH(QString, name);
    auto& window = openWindow();
    controlOf<QLineEdit>(window, "Text1")->setText(name);
    QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    QCOMPARE(backgroundOf(*controlOf<QLabel>(window, "Label1")), lightRed);
    QVERIFY(window.isVisible());
    QCOMPARE(m_v.FileSelezionato, QByteArray("/prima/scelto.tvo"));
    QCOMPARE(QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{});
}

void TestFormSalvaFile::nameAccepted_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("lower case") << QStringLiteral("nuovo.tvo");
    QTest::newRow("capitals") << QStringLiteral("NUOVO.TVO");
    QTest::newRow("mixed case") << QStringLiteral("Nuovo.Tvo");
    QTest::newRow("only the extension") << QStringLiteral(".tvo");
    QTest::newRow("spaces and accents") << QStringLiteral("prova è 2.tvo");
}

void TestFormSalvaFile::nameAccepted() {
    QFETCH(QString, name);
    auto& window = openWindow();
    controlOf<QLineEdit>(window, "Text1")->setText(name);
    controlOf<QLineEdit>(window, "Text2")->setText("commento");
    QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(
        QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList{name});
    QCOMPARE(readFile(m_folder.filePath(name)), "commento\r\n" + sampleBody + "\r\nend\r\n");
    QCOMPARE(m_v.FileSelezionato, QFile::encodeName(m_folder.filePath(name)));
}

// Return in the name box does what "Salva" does.
void TestFormSalvaFile::nameCorrectedAfterRefusal() {
    auto& window = openWindow();
    const QColor normal = backgroundOf(*controlOf<QLabel>(window, "Label1"));
    QTest::keyClick(controlOf<QLineEdit>(window, "Text1"), Qt::Key_Return);
    QCOMPARE(backgroundOf(*controlOf<QLabel>(window, "Label1")), lightRed);
    QVERIFY(window.isVisible());
    controlOf<QLineEdit>(window, "Text1")->clear();
    QTest::keyClicks(controlOf<QLineEdit>(window, "Text1"), "giusto.tvo");
    QTest::keyClick(controlOf<QLineEdit>(window, "Text1"), Qt::Key_Return);
    QVERIFY(!window.isVisible());
    QCOMPARE(readFile(m_folder.filePath("giusto.tvo")), "\r\n" + sampleBody + "\r\nend\r\n");

    auto& second = openWindow();
    QCOMPARE(backgroundOf(*controlOf<QLabel>(second, "Label1")), normal);
    QCOMPARE(controlOf<QLineEdit>(second, "Text1")->text(), QStringLiteral("File name"));
}

void TestFormSalvaFile::replacesChosenFile() {
    m_folder.write("a.tvo", "vecchio\r\n000X\r\nend\r\n");
    m_folder.write("esistente.tvo", "vecchio commento\r\n000VECCHIO\r\n\r\nend\r\n");
    auto& window = openWindow();
    waitForList(2);
    FileList* list = controlOf<FileList>(window, "File1");
    QModelIndex chosen;
    for (int line = 0; line < 2; ++line) {
        const QModelIndex index = list->model()->index(line, 0, list->rootIndex());
        if (index.data().toString() == "esistente.tvo")
            chosen = index;
    }
    QVERIFY(chosen.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(chosen).center());
    QCOMPARE(controlOf<QLineEdit>(window, "Text1")->text(), QStringLiteral("esistente.tvo"));

    controlOf<QLineEdit>(window, "Text2")->setText("nuovo commento");
    QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(readFile(m_folder.filePath("esistente.tvo")),
             "nuovo commento\r\n" + sampleBody + "\r\nend\r\n");
    QCOMPARE(readFile(m_folder.filePath("a.tvo")), QByteArray("vecchio\r\n000X\r\nend\r\n"));
    QCOMPARE(m_v.FileSelezionato, QFile::encodeName(m_folder.filePath("esistente.tvo")));
}

// A name carried over from another folder never replaces a file unseen: the
// window says which file "Salva" replaces and selects it in the list.
void TestFormSalvaFile::aFileThatSalvaWouldReplaceIsAnnounced() {
    QVERIFY(QDir(m_folder.path()).mkdir("vuota"));
    QVERIFY(QDir(m_folder.path()).mkdir("altra"));
    m_folder.write("a.tvo", "x");
    m_folder.write("altra/b.tvo", "x");
    m_folder.write("altra/a.tvo", "di un'altra cartella");
    auto& window = openWindow();
    waitForList(1);
    auto* notice = window.findChild<QLabel*>("replaceNotice");
    QVERIFY(notice);
    QVERIFY(notice->text().isEmpty());
    const QRect salva = controlOf<QPushButton>(window, "Command1")->geometry();
    const QRect comment = controlOf<QLineEdit>(window, "Text2")->geometry();
    FileList* list = controlOf<FileList>(window, "File1");
    const auto selectedName = [list] {
        const QModelIndexList selected = list->selectionModel()->selectedIndexes();
        return selected.size() == 1 ? selected[0].data().toString() : QString();
    };
    const QString replacesA =
        QStringLiteral("Salva sostituirà a.tvo, che esiste già in questa cartella");

    const QModelIndex a = list->model()->index(0, 0, list->rootIndex());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(a).center());
    QCOMPARE(notice->text(), replacesA);
    QCOMPARE(selectedName(), QStringLiteral("a.tvo"));

    controlOf<DirectoryList>(window, "Dir1")->setPath(m_folder.filePath("vuota"));
    QCOMPARE(controlOf<QLineEdit>(window, "Text1")->text(), QStringLiteral("a.tvo"));
    QVERIFY(notice->text().isEmpty());
    QVERIFY(selectedName().isEmpty());

    controlOf<DirectoryList>(window, "Dir1")->setPath(m_folder.filePath("altra"));
    QCOMPARE(notice->text(), replacesA);
    QTRY_COMPARE(selectedName(), QStringLiteral("a.tvo"));
    QCOMPARE(controlOf<QPushButton>(window, "Command1")->geometry(), salva);
    QCOMPARE(controlOf<QLineEdit>(window, "Text2")->geometry(), comment);

    controlOf<QLineEdit>(window, "Text1")->selectAll();
    QTest::keyClicks(controlOf<QLineEdit>(window, "Text1"), "b.tvo");
    QCOMPARE(notice->text(),
             QStringLiteral("Salva sostituirà b.tvo, che esiste già in questa cartella"));
    QCOMPARE(selectedName(), QStringLiteral("b.tvo"));
    QTest::keyClick(controlOf<QLineEdit>(window, "Text1"), Qt::Key_Backspace);
    QVERIFY(notice->text().isEmpty());
    QVERIFY(selectedName().isEmpty());
}

void TestFormSalvaFile::keyboardChoice() {
    m_folder.write("a.tvo", "x");
    m_folder.write("b.tvo", "x");
    auto& window = openWindow();
    waitForList(2);
    controlOf<FileList>(window, "File1")->setFocus();
    const auto nameInRow = [&](int line) {
        return controlOf<FileList>(window, "File1")
            ->model()
            ->index(line, 0, controlOf<FileList>(window, "File1")->rootIndex())
            .data()
            .toString();
    };
    QTest::keyClick(controlOf<FileList>(window, "File1"), Qt::Key_End);
    QCOMPARE(controlOf<QLineEdit>(window, "Text1")->text(), nameInRow(1));
    QTest::keyClick(controlOf<FileList>(window, "File1"), Qt::Key_Home);
    QCOMPARE(controlOf<QLineEdit>(window, "Text1")->text(), nameInRow(0));
    QVERIFY(nameInRow(0) != nameInRow(1));
}

void TestFormSalvaFile::tabThroughFileListReplacesNothing() {
    const QByteArray old = "vecchio\r\n000VECCHIO\r\nend\r\n";
    m_folder.write("a.tvo", old);
    auto& window = openWindow();
    waitForList(1);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    controlOf<DriveList>(window, "Drive1")->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), controlOf<DriveList>(window, "Drive1"));
    for (int times = 0; times < 3; ++times)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), controlOf<QLineEdit>(window, "Text1"));
    QCOMPARE(controlOf<QLineEdit>(window, "Text1")->text(), QStringLiteral("File name"));
    QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    QCOMPARE(backgroundOf(*controlOf<QLabel>(window, "Label1")), lightRed);
    QVERIFY(window.isVisible());
    QCOMPARE(readFile(m_folder.filePath("a.tvo")), old);
    QCOMPARE(m_v.FileSelezionato, QByteArray("/prima/scelto.tvo"));
}

void TestFormSalvaFile::comment_data() {
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QByteArray>("lineOne");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("typed") << QStringLiteral("Ingresso magazzino")
                           << QByteArray("Ingresso magazzino");
    QTest::newRow("Windows-1252 characters")
        << QStringLiteral("Però € 5 «ok»") << QByteArray("Per\xF2 \x80 5 \xABok\xBB");
    QTest::newRow("looks like a message line")
        << QStringLiteral("000NON UN TESTO") << QByteArray("000NON UN TESTO");
}

void TestFormSalvaFile::comment() {
    QFETCH(QString, comment);
    QFETCH(QByteArray, lineOne);
    auto& window = openWindow();
    controlOf<QLineEdit>(window, "Text1")->setText("c.tvo");
    controlOf<QLineEdit>(window, "Text2")->clear();
    typeText(controlOf<QLineEdit>(window, "Text2"), comment);
    QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(readFile(m_folder.filePath("c.tvo")), lineOne + "\r\n" + sampleBody + "\r\nend\r\n");
}

void TestFormSalvaFile::refusedComment() {
    auto& window = openWindow();
    controlOf<QLineEdit>(window, "Text1")->setText("c.tvo");
    controlOf<QLineEdit>(window, "Text2")->setText(QStringLiteral("Łódź"));
    QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    QVERIFY(window.isVisible());
    QVERIFY(controlOf<QLabel>(window, "Messaggio")->isVisible());
    QVERIFY(controlOf<QLabel>(window, "Messaggio")->text().contains(QStringLiteral("«Ł»")));
    QVERIFY(!QFile::exists(m_folder.filePath("c.tvo")));
    QCOMPARE(m_v.FileSelezionato, QByteArray("/prima/scelto.tvo"));

    controlOf<QLineEdit>(window, "Text2")->setText(QStringLiteral("Lodz"));
    QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(readFile(m_folder.filePath("c.tvo")), "Lodz\r\n" + sampleBody + "\r\nend\r\n");
}

void TestFormSalvaFile::exitWithoutSaving() {
    auto& window = openWindow();
    controlOf<QLineEdit>(window, "Text1")->setText("nuovo.tvo");
    QTest::mouseClick(controlOf<QPushButton>(window, "Command2"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{});
    QCOMPARE(m_v.FileSelezionato, QByteArray("/prima/scelto.tvo"));
}

void TestFormSalvaFile::closeFromTitleBar() {
    auto& window = openWindow();
    controlOf<QLineEdit>(window, "Text1")->setText("nuovo.tvo");
    QTimer::singleShot(0, &window, [&] { window.close(); });
    window.showModal();
    QVERIFY(!window.isVisible());
    QCOMPARE(QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{});
    QCOMPARE(m_v.FileSelezionato, QByteArray("/prima/scelto.tvo"));
}

void TestFormSalvaFile::writeFailure_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expectedWord");

    QTest::newRow("name with a folder")
        << QStringLiteral("sotto/vecchio.tvo") << QStringLiteral("non può contenere");
    QTest::newRow("name with a backslash")
        << QStringLiteral("sotto\\vecchio.tvo") << QStringLiteral("non può contenere");
    QTest::newRow("name too long") << QString(300, u'n') + ".tvo" << QStringLiteral("lungo");
    QTest::newRow("folder gone") << QStringLiteral("vecchio.tvo") << QStringLiteral("non esiste");
    QTest::newRow("a folder of that name")
        << QStringLiteral("cartella.tvo") << QStringLiteral("è una cartella");
    QTest::newRow("file too large") << QStringLiteral("vecchio.tvo")
                                    << QStringLiteral("dimensione massima consentita. Il file "
                                                      "che c'era è rimasto com'era.");
}

void TestFormSalvaFile::writeFailure() {
    QFETCH(QString, name);
    QFETCH(QString, expectedWord);

    const QByteArray old = "vecchio\r\n000VECCHIO\r\n\r\nend\r\n";
    QVERIFY(QDir(m_folder.path()).mkpath("sotto/cartella.tvo"));
    m_folder.write("vecchio.tvo", old);
    m_folder.write("sotto/vecchio.tvo", old);
    auto& window = openWindow();
    if (QByteArray(QTest::currentDataTag()) == "folder gone") {
        QVERIFY(QDir(m_folder.path()).mkdir("sparita"));
        controlOf<DirectoryList>(window, "Dir1")->setPath(m_folder.filePath("sparita"));
        QVERIFY(QDir(m_folder.filePath("sparita")).removeRecursively());
    } else if (name == "cartella.tvo") {
        controlOf<DirectoryList>(window, "Dir1")->setPath(m_folder.filePath("sotto"));
    }

    controlOf<QLineEdit>(window, "Text1")->setText(name);
    controlOf<QLineEdit>(window, "Text2")->setText("nuovo");
    {
        std::optional<FileSizeLimit> limit;
        if (QByteArray(QTest::currentDataTag()) == "file too large") {
            m_v.TestoMessaggi = QByteArray(64 * 1024, 'x');
            limit.emplace(4096);
            QVERIFY(limit->active());
        }
        QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    }

    QVERIFY(window.isVisible());
    QVERIFY(controlOf<QLabel>(window, "Messaggio")->isVisible());
    QVERIFY2(controlOf<QLabel>(window, "Messaggio")->text().contains(expectedWord),
             qPrintable(controlOf<QLabel>(window, "Messaggio")->text()));
    QVERIFY(backgroundOf(*controlOf<QLabel>(window, "Label1")) != lightRed);
    QCOMPARE(m_v.FileSelezionato, QByteArray("/prima/scelto.tvo"));
    QCOMPARE(readFile(m_folder.filePath("vecchio.tvo")), old);
    QCOMPARE(readFile(m_folder.filePath("sotto/vecchio.tvo")), old);
    QCOMPARE(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"vecchio.tvo"});
    QCOMPARE(QDir(m_folder.filePath("sotto")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"vecchio.tvo"});

    // The window stays usable: a good name then saves and closes it.
    m_v.TestoMessaggi = sampleBody;
    controlOf<DirectoryList>(window, "Dir1")->setPath(m_folder.path());
    controlOf<QLineEdit>(window, "Text1")->setText("vecchio.tvo");
    QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(readFile(m_folder.filePath("vecchio.tvo")), "nuovo\r\n" + sampleBody + "\r\nend\r\n");
}

// Checked as an ordinary user, since root writes to read-only files: the
// folder would take a new file, the file itself may only be read.
void TestFormSalvaFile::readOnlyFile() {
    const QByteArray old = "vecchio\r\n000VECCHIO\r\n\r\nend\r\n";
    m_folder.write("bloccato.tvo", old);
    QVERIFY(QFile::setPermissions(m_folder.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ExeOwner | QFile::ReadOther |
                                                       QFile::WriteOther | QFile::ExeOther));
    QVERIFY(QFile::setPermissions(m_folder.filePath("bloccato.tvo"),
                                  QFile::ReadOwner | QFile::ReadOther));
    auto& window = openWindow();
    controlOf<QLineEdit>(window, "Text1")->setText("bloccato.tvo");
    const std::optional<QByteArray> shown = runAsUnprivilegedUser([&] {
        QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
        return QByteArray(window.isVisible() ? "aperta\n" : "chiusa\n") + m_v.FileSelezionato +
               '\n' + controlOf<QLabel>(window, "Messaggio")->text().toUtf8();
    });
    QVERIFY(shown);
    const QList<QByteArray> parts = shown->split('\n');
    QCOMPARE(parts.value(0), QByteArray("aperta"));
    QCOMPARE(parts.value(1), QByteArray("/prima/scelto.tvo"));
    QVERIFY2(parts.value(2).contains("sola lettura"), shown->constData());
    QCOMPARE(readFile(m_folder.filePath("bloccato.tvo")), old);
}

void TestFormSalvaFile::showModal() {
    m_window = std::make_unique<FormSalvaFile>(m_v);
    FormSalvaFile& window = *m_window;
    bool wasModal = false;
    QTimer::singleShot(0, &window, [&] {
        wasModal = window.isVisible() && window.isModal();
        controlOf<DirectoryList>(window, "Dir1")->setPath(m_folder.path());
        QTest::keyClicks(controlOf<QLineEdit>(window, "Text1"), "x");
        QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
        controlOf<QLineEdit>(window, "Text1")->setText("modale.tvo");
        QTest::mouseClick(controlOf<QPushButton>(window, "Command1"), Qt::LeftButton);
    });
    window.showModal();
    QVERIFY(wasModal);
    QVERIFY(!window.isVisible());
    QCOMPARE(readFile(m_folder.filePath("modale.tvo")), "\r\n" + sampleBody + "\r\nend\r\n");
    QCOMPARE(m_v.FileSelezionato, QFile::encodeName(m_folder.filePath("modale.tvo")));
}

void TestFormSalvaFile::programClosing() {
    m_window = std::make_unique<FormSalvaFile>(m_v);
    FormSalvaFile& window = *m_window;
    QTimer::singleShot(0, &window, [&] {
        controlOf<DirectoryList>(window, "Dir1")->setPath(m_folder.path());
        controlOf<QLineEdit>(window, "Text1")->setText("mai.tvo");
        m_v.closeRequested = true;
    });
    window.showModal();
    QVERIFY(!window.isVisible());
    QVERIFY(!QFile::exists(m_folder.filePath("mai.tvo")));
    QCOMPARE(m_v.FileSelezionato, QByteArray("/prima/scelto.tvo"));

    // Asked to close before it is shown, it is not shown at all.
    FormSalvaFile after(m_v);
    after.showModal();
    QVERIFY(!after.isVisible());
}

QTEST_MAIN(TestFormSalvaFile)
#include "tst_formsalvafile.moc"
