#pragma once

#include <QByteArray>
#include <QString>

// Writes a message file: the comment, CR LF, the body unchanged, CR LF, "end",
// CR LF. An existing file of that name is replaced. The new content goes to a
// temporary file beside it that takes the file's place only once it is
// complete, so a failure never destroys the old file nor leaves a partial one.
// Returns an empty string on success, otherwise the reason in Italian, naming
// the file. A comment that holds a CR or LF is refused, since it would turn
// into body lines.
QString ScriviFileMessaggi(const QString& path, const QByteArray& commento,
                           const QByteArray& corpo);
