#include "FileErrorReason.h"

#include "LocalFileName.h"
#include "core/SystemReason.h"

#include <cerrno>

QString fileErrorReason(const QString& path, int errnoCode, const QString& systemText) {
    if (LocalFileName::status(path).isDir)
        return QStringLiteral("è una cartella, non un file");
    // A reason Qt gave without the number still came from one.
    if (errnoCode == 0)
        errnoCode = errnoBehind(systemText);
    // Wordings for a file; every other reason is the system's, in Italian.
    switch (errnoCode) {
    case ENOENT:
        return QStringLiteral("il file o la cartella non esiste");
    case EACCES:
    case EPERM:
        return QStringLiteral("permesso negato");
    case EBUSY:
        return QStringLiteral("il file è in uso");
    case EINVAL:
        return QStringLiteral("nome non valido");
    default:
        break;
    }
    return systemReason(errnoCode, systemText);
}
