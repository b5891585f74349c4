#include "ScriviFileMessaggi.h"

#include "MotivoErroreFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

QString impossibile(const QString& path, const QString& motivo) {
    return QStringLiteral("Impossibile scrivere il file %1: %2")
        .arg(QDir::toNativeSeparators(path), motivo);
}

QString motivo(const QFileDevice& file, int codiceErrno) {
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isDir() && !info.isWritable())
        return QStringLiteral("il file è di sola lettura");
    return MotivoErroreFile(file.fileName(), codiceErrno, file.errorString());
}

// Waits until the data is on the disk, where a full disk may show only now.
bool suDisco(QFileDevice& file) {
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return file.flush();
#endif
}

// Writes the whole content, then waits for the disk; errno tells why not.
bool scriviTutto(QFileDevice& file, const QByteArray& contenuto) {
    errno = 0;
    return file.write(contenuto) == contenuto.size() && suDisco(file);
}

// The folder refuses a new file (no write permission) while the file that
// stands there may be written: the one case where the file is rewritten in place.
bool soloSulPosto(const QString& path, int codiceErrno) {
    const QFileInfo info(path);
    return (codiceErrno == EACCES || codiceErrno == EPERM) && info.isFile() && info.isWritable();
}

WriteOutcome scriviSulPosto(const QString& path, const QByteArray& contenuto) {
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return {impossibile(path, motivo(file, errno)), false};
    if (!scriviTutto(file, contenuto))
        return {impossibile(path, motivo(file, errno)), true};
    file.close();
    return {QString(), true};
}

} // namespace

QString WriteOutcome::report(bool existedBefore) const {
    if (writtenInPlace)
        return error + QStringLiteral(". Il file potrebbe essere incompleto: salvalo di nuovo, "
                                      "anche con un altro nome o in un'altra cartella, prima di "
                                      "usarlo.");
    if (existedBefore)
        return error + QStringLiteral(". Il file che c'era è rimasto com'era.");
    return error + QStringLiteral(".");
}

WriteOutcome ScriviFileMessaggi(const QString& path, const QByteArray& commento,
                                const QByteArray& corpo) {
    if (commento.contains('\r') || commento.contains('\n'))
        return {impossibile(path, QStringLiteral("il commento deve stare su una sola riga"))};
    const QByteArray contenuto = commento + "\r\n" + corpo + "\r\nend\r\n";

    // Unbuffered, so that a failed or short write shows here, before commit():
    // QSaveFile commits even when flushing its buffer failed, which would put a
    // truncated file in place of the old one.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int codice = errno;
        if (soloSulPosto(path, codice))
            return scriviSulPosto(path, contenuto);
        return {impossibile(path, motivo(file, codice))};
    }
    if (!scriviTutto(file, contenuto)) {
        const int codice = errno;
        const QString errore = impossibile(path, motivo(file, codice));
        file.cancelWriting();
        return {errore};
    }
    errno = 0;
    if (!file.commit())
        return {impossibile(path, motivo(file, errno))};
    return {};
}
