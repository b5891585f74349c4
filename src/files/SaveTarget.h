#pragma once

#include <QByteArray>
#include <QString>

// Why ScriviFileMessaggi could not write this comment to path, as far as can be
// told before anything is read: a name the system keeps for a device, the
// folder is missing or takes no new file (and the file standing there cannot
// be rewritten in place either), the path is a folder, or the comment is not
// one line. Empty when the file can be written.
QString saveTargetProblem(const QString& path, const QByteArray& comment);
