#include "FileErrorReason.h"

#include "core/SystemReason.h"

#include <QFileInfo>

#include <cerrno>

QString fileErrorReason(const QString& path, int errnoCode, const QString& systemText) {
    if (QFileInfo(path).isDir())
        return QStringLiteral("è una cartella, non un file");
    // A reason Qt gave without the number still came from one.
    if (errnoCode == 0)
        errnoCode = errnoBehind(systemText);
    switch (errnoCode) {
    case ENOENT:
        return QStringLiteral("il file o la cartella non esiste");
    case ENOTDIR:
        return QStringLiteral("una parte del percorso non è una cartella");
    case EISDIR:
        return QStringLiteral("è una cartella, non un file");
    case EACCES:
    case EPERM:
        return QStringLiteral("permesso negato");
    case EROFS:
        return QStringLiteral("il disco è protetto in scrittura");
    case ENOSPC:
        return QStringLiteral("il disco è pieno");
    case EDQUOT:
        return QStringLiteral("lo spazio disco concesso è esaurito");
    case EFBIG:
        return QStringLiteral("il file supera la dimensione massima consentita");
    case EIO:
        return QStringLiteral("errore del disco o del dispositivo");
    case ENAMETOOLONG:
        return QStringLiteral("il nome è troppo lungo");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("il file è in uso");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    case EINVAL:
        return QStringLiteral("nome non valido");
    default:
        break;
    }
    return systemReason(errnoCode, systemText);
}
