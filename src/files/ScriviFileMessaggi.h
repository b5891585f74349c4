#pragma once

#include "WholeFileWriter.h"

// Writes a message file with writeWholeFile: the comment, CR LF, the body unchanged, CR LF, "end",
// CR LF. A comment that holds a CR or LF is refused, since it would turn into
// body lines.
WriteOutcome ScriviFileMessaggi(const QString& path, const QByteArray& comment,
                                const QByteArray& body);
