#include "ListRows.h"
#include "files/LocalFileName.h"
#include "ui/common/DirectoryList.h"
#include "ui/common/DriveList.h"
#include "ui/common/FileList.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void touch(const QString& path) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

QStringList shownNames(const QListView& view) {
    QStringList names;
    const QAbstractItemModel* model = view.model();
    for (int row = 0; row < model->rowCount(view.rootIndex()); ++row)
        names += model->index(row, 0, view.rootIndex()).data().toString();
    names.sort();
    return names;
}

} // namespace

class TestFileLists : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

  private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        for (const char* name :
             {"alfa.tvo", "BETA.TVO", "gamma.Tvo", "delta.txt", "tvo", ".nascosto.tvo"})
            touch(m_dir.filePath(QString::fromLatin1(name)));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("sotto/profondo")));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral(".cartellanascosta")));
        touch(m_dir.filePath(QStringLiteral("sotto/uno.tvo")));
        touch(m_dir.filePath(QStringLiteral("cartella.tvo.d")));
    }

    void fileListShowsMessageFilesOnly() {
        FileList list;
        list.setPath(m_dir.path());
        QCOMPARE(list.path(), QDir::cleanPath(m_dir.path()));
        QTRY_COMPARE(list.model()->rowCount(list.rootIndex()), 3);
        QCOMPARE(shownNames(list),
                 QStringList({QStringLiteral("BETA.TVO"), QStringLiteral("alfa.tvo"),
                              QStringLiteral("gamma.Tvo")}));
    }

    // After going up, the folder just left is not listed among the files.
    void fileListNeverShowsAFolder() {
        FileList list;
        list.setPath(m_dir.filePath(QStringLiteral("sotto")));
        QTRY_COMPARE(list.model()->rowCount(list.rootIndex()), 1);
        list.setPath(m_dir.path());
        QTRY_COMPARE(list.model()->rowCount(list.rootIndex()), 3);
        QCOMPARE(shownNames(list),
                 QStringList({QStringLiteral("BETA.TVO"), QStringLiteral("alfa.tvo"),
                              QStringLiteral("gamma.Tvo")}));
    }

    void fileListStartsAtCurrentDirectory() {
        FileList list;
        QCOMPARE(list.path(), QDir::currentPath());
    }

    void fileListFollowsFolder() {
        FileList list;
        list.setPath(m_dir.path());
        QTRY_COMPARE(list.model()->rowCount(list.rootIndex()), 3);
        list.setPath(m_dir.filePath(QStringLiteral("sotto")));
        QTRY_COMPARE(list.model()->rowCount(list.rootIndex()), 1);
        QCOMPARE(shownNames(list), QStringList(QStringLiteral("uno.tvo")));
    }

    void mouseSelectionEmitsName() {
        FileList list;
        list.resize(200, 200);
        list.setPath(m_dir.path());
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QTRY_COMPARE(list.model()->rowCount(list.rootIndex()), 3);
        QSignalSpy selected(&list, &FileList::fileSelected);
        const QModelIndex gamma = rowNamed(list, QStringLiteral("gamma.Tvo"));
        QVERIFY(gamma.isValid());
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(gamma).center());
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.at(0).at(0).toString(), QStringLiteral("gamma.Tvo"));
    }

    // Names copied from old Windows media are Latin-1, not UTF-8: the folder
    // opens, and the file in it is listed and picked byte-exact.
    void aNameThatIsNotUtf8IsListedAndPickedByteExact() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray folder = QFile::encodeName(dir.path()) + "/vecchi\xe8";
        QCOMPARE(::mkdir(folder.constData(), 0755), 0);
        const QByteArray latin1 = folder + "/lat\xe9.tvo";
        const int fd = ::open(latin1.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
        DirectoryList dirs;
        dirs.setPath(dir.path());
        QCOMPARE(shownNames(*dirs.view()),
                 QStringList({QStringLiteral(".."), QStringLiteral("vecchi\u00e8")}));
        dirs.view()->setCurrentIndex(rowNamed(*dirs.view(), QStringLiteral("vecchi\u00e8")));
        QTest::keyClick(dirs.view(), Qt::Key_Return);
        QCOMPARE(LocalFileName::encode(dirs.path()), folder);

        FileList list;
        list.resize(200, 200);
        list.setPath(dirs.path());
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(shownNames(list), QStringList(QStringLiteral("lat\u00e9.tvo")));
        QSignalSpy selected(&list, &FileList::fileSelected);
        const QModelIndex entry = list.model()->index(0, 0);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(entry).center());
        QCOMPARE(selected.count(), 1);
        QCOMPARE(LocalFileName::encode(dirs.path() + u'/' + selected.at(0).at(0).toString()),
                 latin1);
        // A file saved there by another program shows up.
        ::close(::open(folder + "/nuovo.tvo", O_WRONLY | O_CREAT, 0644));
        QTRY_COMPARE(list.model()->rowCount(), 2);
    }

    void onlyTheOperatorsKeysPick() {
        FileList list;
        list.resize(200, 200);
        list.setPath(m_dir.path());
        QTRY_COMPARE(list.model()->rowCount(list.rootIndex()), 3);
        QSignalSpy selected(&list, &FileList::fileSelected);
        // The keyboard coming into the list puts the focus mark on the top
        // entry, and picks nothing.
        list.show();
        list.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&list));
        QTRY_VERIFY(list.currentIndex().isValid());
        const QString first = list.currentIndex().data().toString();
        QCOMPARE(selected.count(), 0);
        QVERIFY(list.selectionModel()->selectedIndexes().isEmpty());
        QTest::keyClick(&list, Qt::Key_Tab);
        QTest::keyClick(&list, Qt::Key_Escape);
        QCOMPARE(selected.count(), 0);
        // Home where the mark already stands is the operator's pick.
        QTest::keyClick(&list, Qt::Key_Home);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.at(0).at(0).toString(), first);
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(selected.count(), 2);
        QVERIFY(selected.at(1).at(0).toString() != first);
        QCOMPARE(list.selectionModel()->selectedIndexes(), QModelIndexList{list.currentIndex()});
        // Typing a name picks it; a letter that matches nothing picks nothing.
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(&list, QStringLiteral("gam"));
        QCOMPARE(selected.last().at(0).toString(), QStringLiteral("gamma.Tvo"));
        const qsizetype picks = selected.count();
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(&list, QStringLiteral("z"));
        QCOMPARE(selected.count(), picks);
        // A press dragged onto another entry is no click.
        const QModelIndex alpha = rowNamed(list, QStringLiteral("alfa.tvo"));
        const QModelIndex beta = rowNamed(list, QStringLiteral("BETA.TVO"));
        QTest::mousePress(list.viewport(), Qt::LeftButton, {}, list.visualRect(alpha).center());
        QTest::mouseMove(list.viewport(), list.visualRect(beta).center());
        QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, list.visualRect(beta).center());
        QCOMPARE(selected.count(), picks);
        QCOMPARE(list.selectionModel()->selectedIndexes(),
                 QModelIndexList{rowNamed(list, QStringLiteral("gamma.Tvo"))});
    }

    void refillingPicksNothing() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char* name : {"a.tvo", "b.tvo", "c.tvo"})
            touch(dir.filePath(QString::fromLatin1(name)));
        FileList list;
        list.resize(200, 200);
        list.setPath(dir.path());
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QTRY_COMPARE(list.model()->rowCount(list.rootIndex()), 3);
        QSignalSpy selected(&list, &FileList::fileSelected);
        const QModelIndex b = rowNamed(list, QStringLiteral("b.tvo"));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(b).center());
        QCOMPARE(selected.count(), 1);
        // Renamed and created behind the program's back: the list refills,
        // the mark may move, nothing is picked or shown as picked.
        QVERIFY(QFile::rename(dir.filePath(QStringLiteral("b.tvo")),
                              dir.filePath(QStringLiteral("b.old"))));
        touch(dir.filePath(QStringLiteral("d.tvo")));
        QTRY_COMPARE(shownNames(list),
                     QStringList({QStringLiteral("a.tvo"), QStringLiteral("c.tvo"),
                                  QStringLiteral("d.tvo")}));
        QCOMPARE(selected.count(), 1);
        QVERIFY(list.selectionModel()->selectedIndexes().isEmpty());
    }

    // Files created and removed around the picked one, together and apart:
    // each shows up or goes, in order, and the pick stays where it was.
    void changesKeepThePick() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char* name : {"b.tvo", "d.tvo", "e.tvo"})
            touch(dir.filePath(QString::fromLatin1(name)));
        FileList list;
        list.resize(200, 200);
        list.setPath(dir.path());
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        clickRow(&list, QStringLiteral("d.tvo"));
        for (const char* name : {"a.tvo", "c2.tvo", "z.tvo", "C.tvo"})
            touch(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("e.tvo"))));
        const auto inOrder = [&list] {
            QStringList names;
            for (int row = 0; row < list.model()->rowCount(); ++row)
                names += list.model()->index(row, 0).data().toString();
            return names;
        };
        QTRY_COMPARE(inOrder(),
                     QStringList({"a.tvo", "b.tvo", "C.tvo", "c2.tvo", "d.tvo", "z.tvo"}));
        QCOMPARE(list.selectionModel()->selectedIndexes(),
                 QModelIndexList{rowNamed(list, QStringLiteral("d.tvo"))});
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("a.tvo"))));
        QTRY_COMPARE(list.model()->rowCount(), 5);
        QCOMPARE(list.selectionModel()->selectedIndexes(),
                 QModelIndexList{rowNamed(list, QStringLiteral("d.tvo"))});
    }

    void changingFolderForgetsEntry() {
        FileList list;
        list.setPath(m_dir.path());
        QTRY_COMPARE(list.model()->rowCount(list.rootIndex()), 3);
        list.setCurrentIndex(rowNamed(list, QStringLiteral("alfa.tvo")));
        QSignalSpy selected(&list, &FileList::fileSelected);
        list.setPath(m_dir.filePath(QStringLiteral("sotto")));
        QVERIFY(!list.currentIndex().isValid());
        QVERIFY(list.selectionModel()->selectedIndexes().isEmpty());
        QCOMPARE(selected.count(), 0);
    }

    void directoryListOpensFolders() {
        DirectoryList dirs;
        QSignalSpy changed(&dirs, &DirectoryList::pathChanged);
        dirs.setPath(m_dir.path());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QDir::cleanPath(m_dir.path()));
        QListView* view = dirs.view();
        QTRY_COMPARE(shownNames(*view),
                     QStringList({QStringLiteral(".."), QStringLiteral("sotto")}));
        // The same folder again is no change.
        dirs.setPath(m_dir.path() + QStringLiteral("/"));
        QCOMPARE(changed.count(), 1);

        dirs.resize(250, 200);
        dirs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dirs));
        const QModelIndex below = rowNamed(*view, QStringLiteral("sotto"));
        QVERIFY(below.isValid());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(below).center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(below).center());
        QTRY_COMPARE(changed.count(), 2);
        QCOMPARE(dirs.path(), QDir::cleanPath(m_dir.filePath(QStringLiteral("sotto"))));
        QTRY_COMPARE(shownNames(*view),
                     QStringList({QStringLiteral(".."), QStringLiteral("profondo")}));

        // Enter on ".." goes back up.
        view->setFocus();
        view->setCurrentIndex(rowNamed(*view, QStringLiteral("..")));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(changed.count(), 3);
        QCOMPARE(dirs.path(), QDir::cleanPath(m_dir.path()));
    }

    void directoryListStopsAtRoot() {
        DirectoryList dirs;
        dirs.setPath(QDir::rootPath());
        QSignalSpy changed(&dirs, &DirectoryList::pathChanged);
        dirs.setPath(QDir::rootPath() + QStringLiteral(".."));
        QCOMPARE(dirs.path(), QDir::rootPath());
        QCOMPARE(changed.count(), 0);
        QVERIFY(!rowNamed(*dirs.view(), QStringLiteral("..")).isValid());
        QVERIFY(dirs.view()->model()->rowCount() > 0);
    }

    void driveListPutsRootFirst() {
        DriveList drives;
        QVERIFY(drives.count() >= 1);
        QCOMPARE(drives.itemData(0).toString(), QDir::rootPath());
        QCOMPARE(drives.drive(), QStorageInfo(QDir::currentPath()).rootPath());
        QStringList roots;
        for (int i = 0; i < drives.count(); ++i) {
            const QString root = drives.itemData(i).toString();
            QVERIFY2(!roots.contains(root), qPrintable(root));
            roots += root;
            QVERIFY2(QStorageInfo(root).isReady(), qPrintable(root));
        }
    }

    void driveListEmitsChosenRoot() {
        DriveList drives;
        QSignalSpy changed(&drives, &DriveList::driveChanged);
        if (drives.count() < 2)
            QSKIP("only one readable volume is mounted here");
        const int other = drives.currentIndex() == 0 ? 1 : 0;
        drives.setCurrentIndex(other);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), drives.itemData(other).toString());
    }
};

QTEST_MAIN(TestFileLists)
#include "tst_filelists.moc"
