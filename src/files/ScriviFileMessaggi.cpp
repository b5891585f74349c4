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

QString motivo(const QSaveFile& file, int codiceErrno) {
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isDir() && !info.isWritable())
        return QStringLiteral("il file è di sola lettura");
    return MotivoErroreFile(file.fileName(), codiceErrno, file.errorString());
}

// Waits until the data is on the disk, where a full disk may show only now.
bool suDisco(QSaveFile& file) {
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return file.flush();
#endif
}

} // namespace

QString ScriviFileMessaggi(const QString& path, const QByteArray& commento,
                           const QByteArray& corpo) {
    if (commento.contains('\r') || commento.contains('\n'))
        return impossibile(path, QStringLiteral("il commento deve stare su una sola riga"));

    // Unbuffered, so that a failed or short write shows here, before commit():
    // QSaveFile commits even when flushing its buffer failed, which would put a
    // truncated file in place of the old one.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return impossibile(path, motivo(file, errno));

    const QByteArray contenuto = commento + "\r\n" + corpo + "\r\nend\r\n";
    errno = 0;
    if (file.write(contenuto) != contenuto.size() || !suDisco(file)) {
        const int codice = errno;
        const QString errore = impossibile(path, motivo(file, codice));
        file.cancelWriting();
        return errore;
    }
    errno = 0;
    if (!file.commit())
        return impossibile(path, motivo(file, errno));
    return {};
}
