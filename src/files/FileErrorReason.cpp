#include "FileErrorReason.h"

#include "LocalFileName.h"

QString fileErrorReason(const QString& path, const SystemError& error, const QString& systemText) {
    if (LocalFileName::status(path).isDir)
        return QStringLiteral("è una cartella, non un file");
    // A reason Qt gave without the error still came from one.
    const SystemError known = error.failed() ? error : SystemError::behind(systemText);
    // Wordings for a file; every other reason is the system's, in Italian.
    switch (known.kind) {
    case SystemError::Kind::None:
        return SystemError::described(systemText).reason;
    case SystemError::Kind::Missing:
        return QStringLiteral("il file o la cartella non esiste");
    case SystemError::Kind::Denied:
        return QStringLiteral("permesso negato");
    case SystemError::Kind::Busy:
        return QStringLiteral("il file è in uso");
    case SystemError::Kind::Invalid:
        return QStringLiteral("nome non valido");
    default:
        return known.reason;
    }
}
