#include "ListRows.h"
#include "WhenShown.h"
#include "WindowFixture.h"
#include "ui/common/DirectoryList.h"
#include "ui/common/FileList.h"
#include "ui/editor/EditaMessaggi.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

// A file is used only when the operator picked it: a file list that refills
// behind the program's back never swaps the picked file for a neighbour.
class TestOperatorChoices : public QObject {
    Q_OBJECT

  private slots:
    void aPickedFileThatVanishedIsNotReplacedByItsNeighbour() {
        WindowFixture f;
        for (const QString& name :
             {QStringLiteral("a.tvo"), QStringLiteral("b.tvo"), QStringLiteral("c.tvo")})
            f.selectFile("commento\r\n000TESTO DI " + name.toLatin1() + "\r\nend\r\n", name);
        f.v.FileSelezionato.clear();
        auto* files = f.control<FileList>("File1");
        f.control<DirectoryList>("Dir1")->setPath(f.folder.path());
        clickRow(files, QStringLiteral("b.tvo"));
        const QByteArray picked = QFile::encodeName(QDir::cleanPath(f.folder.filePath("b.tvo")));
        QCOMPARE(f.v.FileSelezionato, picked);

        QVERIFY(QFile::rename(f.folder.filePath(QStringLiteral("b.tvo")),
                              f.folder.filePath(QStringLiteral("b.vecchio"))));
        QTRY_COMPARE(files->model()->rowCount(files->rootIndex()), 2);
        QCOMPARE(f.v.FileSelezionato, picked);

        QTest::mouseClick(f.button("Command1"), Qt::LeftButton);
        QVERIFY2(f.text2().contains("non esiste"), f.text2().constData());
        QCOMPARE(f.unit.framesReceived(), 0);

        QString editorSays;
        WhenShown<EditaMessaggi> editor([&](EditaMessaggi& window) {
            editorSays = window.findChild<QLabel*>(QStringLiteral("Messaggio"))->text();
            window.close();
        });
        QTest::mouseClick(f.button("Command5"), Qt::LeftButton);
        QCOMPARE(editor.times(), 1);
        QVERIFY2(editorSays.contains(QStringLiteral("b.tvo")) &&
                     editorSays.contains(QStringLiteral("non esiste")),
                 qPrintable(editorSays));
        QCOMPARE(f.v.FileSelezionato, picked);
    }
};

QTEST_MAIN(TestOperatorChoices)
#include "tst_operatorchoices.moc"
