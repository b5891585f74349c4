#include "files/DiskFile.h"

#include "files/LocalFileName.h"

#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The permissions the file at path keeps: its own when it exists, else those
// a new file gets from this process.
mode_t permissionsFor(const QString& path) {
    struct stat info {};
    if (::stat(LocalFileName::encode(path).constData(), &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

namespace DiskFile {

bool syncToDisk(QFileDevice& file) {
    return ::fsync(file.handle()) == 0;
}

bool createBeside(const QString& path, QFile& file, QByteArray& temporaryName) {
    temporaryName = LocalFileName::encode(QFileInfo(path).absolutePath()) + "/.tarvodisp-XXXXXX";
    const int fd = ::mkostemp(temporaryName.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    return true;
}

bool takePermissionsOf(QFileDevice& file, const QString& path) {
    return ::fchmod(file.handle(), permissionsFor(path)) == 0;
}

bool moveOver(const QByteArray& temporaryName, const QString& path) {
    return ::rename(temporaryName.constData(), LocalFileName::encode(path).constData()) == 0;
}

void remove(const QByteArray& temporaryName) {
    ::unlink(temporaryName.constData());
}

} // namespace DiskFile
