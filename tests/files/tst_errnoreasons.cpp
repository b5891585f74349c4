#include "core/posix/ErrnoError.h"
#include "files/FileErrorReason.h"

#include "TempFiles.h"

#include <QTest>

#include <cerrno>

Q_DECLARE_METATYPE(SystemError::Kind)

// What each error number means to the callers that decide on it, how the
// system and a file word it, and that Qt's text of it leads back to it.
class TestErrnoReasons : public QObject {
    Q_OBJECT

  private slots:
    void errorNumbers_data();
    void errorNumbers();

  private:
    TempFolder m_folder;
};

void TestErrnoReasons::errorNumbers_data() {
    using Kind = SystemError::Kind;
    QTest::addColumn<int>("code");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("forTheSystem");
    QTest::addColumn<QString>("forAFile");
    const auto row = [](const char* name, int code, Kind kind, const char* forTheSystem,
                        const char* forAFile) {
        QTest::newRow(name) << code << kind << QString::fromUtf8(forTheSystem)
                            << QString::fromUtf8(forAFile);
    };
    row("ENOENT", ENOENT, Kind::Missing, "non esiste", "il file o la cartella non esiste");
    row("EACCES", EACCES, Kind::Denied, "permesso negato", "permesso negato");
    row("EPERM", EPERM, Kind::Denied, "operazione non permessa a questo utente", "permesso negato");
    row("EBUSY", EBUSY, Kind::Busy, "il dispositivo è occupato", "il file è in uso");
    row("ETXTBSY", ETXTBSY, Kind::InUse, "il file è in uso", "il file è in uso");
    row("EINVAL", EINVAL, Kind::Invalid, "valore non valido", "nome non valido");
    row("EAGAIN", EAGAIN, Kind::TryAgain, "risorsa momentaneamente non disponibile, riprova",
        "risorsa momentaneamente non disponibile, riprova");
    row("EIO", EIO, Kind::DeviceFailed, "errore del disco o del dispositivo",
        "errore del disco o del dispositivo");
    row("ENXIO", ENXIO, Kind::DeviceFailed, "il dispositivo non è collegato o non risponde",
        "il dispositivo non è collegato o non risponde");
    row("ENODEV", ENODEV, Kind::DeviceFailed, "il dispositivo non esiste",
        "il dispositivo non esiste");
    row("EDQUOT", EDQUOT, Kind::Other, "lo spazio disco concesso è esaurito",
        "lo spazio disco concesso è esaurito");
    // Tests run under the C locale, where the system speaks English.
    const QByteArray unknown =
        QStringLiteral("errore di sistema n. %1 (Host is down)").arg(EHOSTDOWN).toUtf8();
    row("EHOSTDOWN", EHOSTDOWN, Kind::Other, unknown.constData(), unknown.constData());
}

void TestErrnoReasons::errorNumbers() {
    QFETCH(int, code);
    QFETCH(SystemError::Kind, kind);
    QFETCH(QString, forTheSystem);
    QFETCH(QString, forAFile);
    const SystemError error = errnoError(code);
    QCOMPARE(error.kind, kind);
    QCOMPARE(error.reason, forTheSystem);
    QCOMPARE(SystemError::behind(qt_error_string(code)).reason, forTheSystem);
    const QString missingFile = m_folder.filePath(QStringLiteral("manca.tvo"));
    QCOMPARE(fileErrorReason(missingFile, error, {}), forAFile);
    QCOMPARE(fileErrorReason(missingFile, {}, qt_error_string(code)), forAFile);
}

QTEST_MAIN(TestErrnoReasons)
#include "tst_errnoreasons.moc"
