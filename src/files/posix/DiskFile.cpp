#include "files/DiskFile.h"

#include "core/posix/ErrnoError.h"
#include "files/LocalFileName.h"

#include <QFileInfo>

#include <cerrno>
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

// The error of a call that returned result: None unless it is -1.
SystemError errorOf(int result) {
    return result == -1 ? errnoError(errno) : SystemError{};
}

} // namespace

namespace DiskFile {

SystemError syncToDisk(QFileDevice& file) {
    return errorOf(::fsync(file.handle()));
}

SystemError createBeside(const QString& path, QFile& file, QByteArray& temporaryName) {
    temporaryName = LocalFileName::encode(QFileInfo(path).absolutePath()) + "/.tarvodisp-XXXXXX";
    const int fd = ::mkostemp(temporaryName.data(), O_CLOEXEC);
    if (fd < 0)
        return errnoError(errno);
    file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    return {};
}

SystemError takePermissionsOf(QFileDevice& file, const QString& path) {
    return errorOf(::fchmod(file.handle(), permissionsFor(path)));
}

SystemError moveOver(const QByteArray& temporaryName, const QString& path) {
    return errorOf(::rename(temporaryName.constData(), LocalFileName::encode(path).constData()));
}

void remove(const QByteArray& temporaryName) {
    ::unlink(temporaryName.constData());
}

} // namespace DiskFile
