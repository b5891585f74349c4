#pragma once

#include "core/SystemError.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// What writing a whole file asks of the system beyond Qt's file classes, also
// for names that Qt cannot hold (not valid UTF-8). Each call gives the
// system's error, None when it succeeded.
namespace DiskFile {

// Waits until what was written to file is on the disk, where a full disk may
// show only now.
SystemError syncToDisk(QFileDevice& file);

// Creates a new hidden file with a unique name in the folder of path and opens
// it on file, unbuffered, for writing; temporaryName gets its name as the disk
// holds it.
SystemError createBeside(const QString& path, QFile& file, QByteArray& temporaryName);
// Gives the open file the permissions the file at path keeps: its own when it
// exists, else those a new file gets from this process.
SystemError takePermissionsOf(QFileDevice& file, const QString& path);
// Puts the file named temporaryName in place of the one at path.
SystemError moveOver(const QByteArray& temporaryName, const QString& path);
void remove(const QByteArray& temporaryName);

} // namespace DiskFile
