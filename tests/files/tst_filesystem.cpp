#include "files/FileErrorReason.h"
#include "files/LocalFileName.h"
#include "files/SaveTarget.h"
#include "files/WholeFileWriter.h"

#include "TempFiles.h"

#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

// File names held byte for byte and the message files a folder lists.
class TestFileSystem : public QObject {
    Q_OBJECT

  private slots:
    void fileNamesKeepEveryByte_data();
    void fileNamesKeepEveryByte();
    void onlyRegularFilesAreListed();
    void namesAsTheSystemHoldsThemRoundTrip();
    void namesOfWindowsDevices_data();
    void namesOfWindowsDevices();

  private:
    TempFolder m_folder;
};

// Every file name comes back byte for byte; valid UTF-8 reads as UTF-8,
// anything else as the Windows-1252 characters it stood for.
void TestFileSystem::fileNamesKeepEveryByte_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("readable");
    // U+10080 is held as a pair whose second half looks like a kept byte.
    QTest::newRow("UTF-8") << QByteArray("caff\xc3\xa8 \xf0\x90\x82\x80.tvo")
                           << QStringLiteral("caff\u00e8 \U00010080.tvo");
    QTest::newRow("Latin-1") << QByteArray("lat\xe9.tvo") << QStringLiteral("lat\u00e9.tvo");
    QTest::newRow("overlong") << QByteArray("\xc0\xaf") << QStringLiteral("\u00c0\u00af");
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80")
                               << QStringLiteral("\u00ed\u00a0\u20ac");
    QTest::newRow("beyond U+10FFFF")
        << QByteArray("\xf4\x90\x80\x80") << QStringLiteral("\u00f4\u0090\u20ac\u20ac");
    QTest::newRow("cut short") << QByteArray("a\xe2\x82") << QStringLiteral("a\u00e2\u201a");
    QTest::newRow("bad last continuation")
        << QByteArray("x\xe9\x80x.tvo") << QStringLiteral("x\u00e9\u20acx.tvo");
}

void TestFileSystem::fileNamesKeepEveryByte() {
    QFETCH(QByteArray, name);
    QFETCH(QString, readable);
    const QString held = LocalFileName::decode(name);
    QCOMPARE(LocalFileName::encode(held), name);
    QCOMPARE(LocalFileName::readable(held), readable);
}

// Visible .tvo files are listed whatever the case of the extension, through
// links too; a folder with such a name is not a file, nor is a broken link.
void TestFileSystem::onlyRegularFilesAreListed() {
    for (const char* name : {"uno.tvo", "DUE.TVO", ".nascosto.tvo", "tre.txt"})
        m_folder.write(QString::fromLatin1(name), "000A\r\n");
    QVERIFY(QDir(m_folder.path()).mkdir(QStringLiteral("cartella.tvo")));
#ifdef Q_OS_WIN
    // Windows' shortcuts are files of their own; hidden is a mark there.
    QVERIFY(QFile(m_folder.filePath(QStringLiteral("uno.tvo")))
                .copy(m_folder.filePath(QStringLiteral("segnato.tvo"))));
    QVERIFY(::SetFileAttributesW(
        reinterpret_cast<const wchar_t*>(
            QDir::toNativeSeparators(m_folder.filePath(QStringLiteral("segnato.tvo"))).utf16()),
        FILE_ATTRIBUTE_HIDDEN));
    QStringList listed = LocalFileName::messageFilesIn(m_folder.path());
    listed.sort();
    QCOMPARE(listed, (QStringList{"DUE.TVO", "uno.tvo"}));
#else
    QVERIFY(QFile::link(m_folder.filePath(QStringLiteral("uno.tvo")),
                        m_folder.filePath(QStringLiteral("collegato.tvo"))));
    QVERIFY(QFile::link(m_folder.filePath(QStringLiteral("manca")),
                        m_folder.filePath(QStringLiteral("rotto.tvo"))));
    QStringList listed = LocalFileName::messageFilesIn(m_folder.path());
    listed.sort();
    QCOMPARE(listed, (QStringList{"DUE.TVO", "collegato.tvo", "uno.tvo"}));
#endif
}

// A name the system holds (UTF-8 bytes on Linux, UTF-16 on Windows, beyond
// the first 65,536 characters too) is listed as it is, opened, found the same
// file under another spelling and replaced whole, with nothing left beside it.
void TestFileSystem::namesAsTheSystemHoldsThemRoundTrip() {
    const TempFolder folder;
    const QString name = QStringLiteral("caff\u00e8 \U00010080 \u6F22.tvo");
    const QString path = folder.filePath(name);
    writeFileAt(path, "vecchio\r\n");
    QCOMPARE(LocalFileName::messageFilesIn(folder.path()), QStringList{name});
    QVERIFY(LocalFileName::sameFile(path, folder.path() + QStringLiteral("/./") + name));
    QVERIFY(LocalFileName::status(path).isFile);
    QVERIFY(writeWholeFile(path, "nuovo\r\n").ok());
    QFile file;
    QVERIFY(!LocalFileName::open(file, path, QIODevice::ReadOnly).failed());
    QCOMPARE(file.readAll(), QByteArray("nuovo\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
}

void TestFileSystem::namesOfWindowsDevices_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("device");
    for (const char* name : {"com5.tvo", "NUL", "con.txt", "LPT1.tvo", "aux", "prn.x", "Com9 .tvo",
                             "nul..tvo", "nul ", "COM\u00b2.tvo"})
        QTest::newRow(name) << QString::fromUtf8(name) << true;
    for (const char* name : {"com10.tvo", "console.tvo", "lpt.tvo", "nul x.tvo", "xcom5.tvo"})
        QTest::newRow(name) << QString::fromUtf8(name) << false;
}

// On Windows a device's name, with any extension, opens the device (saving
// "com5.tvo" would send the file to a serial port): it is refused before
// anything is opened. On Linux it is a name like any other.
void TestFileSystem::namesOfWindowsDevices() {
    QFETCH(QString, name);
    QFETCH(bool, device);
#ifndef Q_OS_WIN
    device = false;
#endif
    const QString path = m_folder.filePath(name);
    const QString refusal =
        device ? QStringLiteral("Il nome \"%1\" è riservato da Windows a un dispositivo: scegli "
                                "un altro nome")
                     .arg(name)
               : QString();
    QCOMPARE(saveTargetProblem(path, "C"), refusal);
    QCOMPARE(writeWholeFile(path, "C\r\nend\r\n").error, refusal);
    QFile file;
    const SystemError opening = LocalFileName::open(file, path, QIODevice::ReadOnly);
    if (device)
        QCOMPARE(fileErrorReason(path, opening, {}),
                 QStringLiteral("il nome è riservato da Windows a un dispositivo"));
    else
        QCOMPARE(file.readAll(), QByteArray("C\r\nend\r\n"));
}

QTEST_MAIN(TestFileSystem)
#include "tst_filesystem.moc"
