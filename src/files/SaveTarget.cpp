#include "files/SaveTarget.h"
#include "files/LocalFileName.h"

#include <QFileInfo>

QString saveTargetProblem(const QString& path, const QByteArray& comment) {
    if (const QString reserved = LocalFileName::reservedNameProblem(path); !reserved.isEmpty())
        return reserved;
    const QString folderPath = QFileInfo(path).absolutePath();
    const LocalFileName::Status target = LocalFileName::status(path);
    const LocalFileName::Status folder = LocalFileName::status(folderPath);
    QString reason;
    if (!folder.isDir)
        reason =
            QStringLiteral("la cartella %1 non esiste").arg(LocalFileName::readable(folderPath));
    else if (target.isDir)
        reason = QStringLiteral("è una cartella");
    else if (target.exists && !target.isFile)
        reason = QStringLiteral("non è un file normale");
    else if (!folder.writable && !(target.isFile && target.writable))
        reason = target.exists ? QStringLiteral("il file è di sola lettura e la cartella non "
                                                "permette di crearne uno nuovo")
                               : QStringLiteral("la cartella non permette di creare file");
    else if (comment.contains('\r') || comment.contains('\n'))
        reason = QStringLiteral("il commento deve stare su una sola riga");
    if (reason.isEmpty())
        return {};
    return QStringLiteral("Impossibile scrivere il file %1: %2")
        .arg(LocalFileName::readable(path), reason);
}
