#include "MotivoErroreFile.h"

#include <QFileInfo>

#include <cerrno>

QString MotivoErroreFile(const QString& percorso, int codiceErrno, const QString& testoDiSistema) {
    if (QFileInfo(percorso).isDir())
        return QStringLiteral("è una cartella, non un file");
    switch (codiceErrno) {
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
    if (!testoDiSistema.isEmpty())
        return QStringLiteral("errore di sistema (%1)").arg(testoDiSistema);
    return QStringLiteral("errore sconosciuto");
}
