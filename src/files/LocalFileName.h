#pragma once

#include "core/SystemError.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

// A file name on the disk is bytes; this program holds it as a QString.
// Valid UTF-8 is decoded as such. A byte that is not part of valid UTF-8 (a
// name copied from old Windows media, "lat\xe9.tvo") is kept as the code unit
// U+DC80..U+DCFF, so that encoding gives back the very same bytes: Qt's own
// decoding turns it into U+FFFD, and the file can then be neither listed nor
// opened. Paths that may carry such names reach the disk only through encode().
namespace LocalFileName {

QString decode(const QByteArray& bytes);
QByteArray encode(const QString& path);
// The path for the operator to read, with native separators: each kept byte
// is shown as the Windows-1252 character it stood for ("laté.tvo").
QString readable(const QString& path);

// What stands at path, following symbolic links as opening it would.
struct Status {
    bool exists = false;
    bool isFile = false;
    bool isDir = false;
    // This user may write the file, or create files in the folder.
    bool writable = false;
    qint64 size = 0;
};
Status status(const QString& path);
// Whether both paths name one existing file (the same device and inode),
// however they are spelt: links, "./", hard links.
bool sameFile(const QString& first, const QString& second);

// Why this system would not take the last name of path for a file, in the
// operator's words; empty when it would. Windows gives CON, NUL, COM5 and the
// like to its devices, with any extension: "com5.tvo" is a serial port there,
// and an ordinary name on Linux.
QString reservedNameProblem(const QString& path);

// Opens the existing file at path on file, for reading, or for writing
// (WriteOnly) emptied first; the system's error when it cannot, None when it
// opened. A folder is refused, as QFile refuses it, and so is a name that
// reservedNameProblem() refuses.
SystemError open(QFile& file, const QString& path, QIODevice::OpenMode mode);

// Whether Qt's own file classes name the same file as path: false for a path
// with bytes that are not valid UTF-8.
bool qtCanName(const QString& path);

// The regular, not hidden files of folder whose names end in ".tvo" in any
// letter case, every name as decode() holds it, unsorted.
QStringList messageFilesIn(const QString& folder);
// The folders in folder that are not hidden, and ".." except in the root
// folder, as decode() holds their names, unsorted.
QStringList foldersIn(const QString& folder);

} // namespace LocalFileName
