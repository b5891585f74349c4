#include "core/win/WindowsError.h"
#include "files/FileErrorReason.h"

#include "TempFiles.h"

#include <QTest>

Q_DECLARE_METATYPE(SystemError::Kind)

// What each Windows error code means to the callers that decide on it, how
// the system and a file word it, and that Qt's text of it leads back to it,
// never to the error number that happens to share its value.
class TestWindowsReasons : public QObject {
    Q_OBJECT

  private slots:
    void errorCodes_data();
    void errorCodes();

  private:
    TempFolder m_folder;
};

void TestWindowsReasons::errorCodes_data() {
    using Kind = SystemError::Kind;
    QTest::addColumn<quint32>("code");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("forTheSystem");
    QTest::addColumn<QString>("forAFile");
    const auto row = [](const char* name, DWORD code, Kind kind, const char* forTheSystem,
                        const char* forAFile) {
        QTest::newRow(name) << quint32(code) << kind << QString::fromUtf8(forTheSystem)
                            << QString::fromUtf8(forAFile);
    };
    row("ERROR_FILE_NOT_FOUND", ERROR_FILE_NOT_FOUND, Kind::Missing, "non esiste",
        "il file o la cartella non esiste");
    row("ERROR_PATH_NOT_FOUND", ERROR_PATH_NOT_FOUND, Kind::Missing, "non esiste",
        "il file o la cartella non esiste");
    row("ERROR_ACCESS_DENIED", ERROR_ACCESS_DENIED, Kind::Denied, "permesso negato",
        "permesso negato");
    row("ERROR_SHARING_VIOLATION", ERROR_SHARING_VIOLATION, Kind::InUse,
        "il file è in uso da un altro programma", "il file è in uso da un altro programma");
    row("ERROR_INVALID_NAME", ERROR_INVALID_NAME, Kind::Invalid, "nome non valido",
        "nome non valido");
    row("ERROR_DISK_FULL", ERROR_DISK_FULL, Kind::Other, "il disco è pieno", "il disco è pieno");
    row("ERROR_GEN_FAILURE", ERROR_GEN_FAILURE, Kind::DeviceFailed,
        "errore del disco o del dispositivo", "errore del disco o del dispositivo");
    row("ERROR_DEVICE_NOT_CONNECTED", ERROR_DEVICE_NOT_CONNECTED, Kind::DeviceFailed,
        "il dispositivo non è collegato o non risponde",
        "il dispositivo non è collegato o non risponde");
}

void TestWindowsReasons::errorCodes() {
    QFETCH(quint32, code);
    QFETCH(SystemError::Kind, kind);
    QFETCH(QString, forTheSystem);
    QFETCH(QString, forAFile);
    const SystemError error = windowsError(code);
    QCOMPARE(error.kind, kind);
    QCOMPARE(error.reason, forTheSystem);
    QCOMPARE(SystemError::behind(qt_error_string(int(code))).reason, forTheSystem);
    const QString missingFile = m_folder.filePath(QStringLiteral("manca.tvo"));
    QCOMPARE(fileErrorReason(missingFile, error, {}), forAFile);
    QCOMPARE(fileErrorReason(missingFile, {}, qt_error_string(int(code))), forAFile);
}

QTEST_MAIN(TestWindowsReasons)
#include "tst_windowsreasons.moc"
