#include "ScriviFileMessaggi.h"

WriteOutcome ScriviFileMessaggi(const QString& path, const QByteArray& comment,
                                const QByteArray& body) {
    if (comment.contains('\r') || comment.contains('\n'))
        return {cannotWrite(path, QStringLiteral("il commento deve stare su una sola riga"))};
    return writeWholeFile(path, comment + "\r\n" + body + "\r\nend\r\n");
}
