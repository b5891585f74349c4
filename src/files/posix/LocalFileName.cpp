#include "files/LocalFileName.h"

#include "core/posix/ErrnoError.h"

#include <QDir>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace {

// The entries of folder that wanted() keeps, given each name and a way to the
// type of what it names (symbolic links followed). The folder's listing gives
// the type of most entries; a stat is made only for a link or where the file
// system does not say.
template <typename Wanted> QStringList entriesIn(const QString& folder, Wanted wanted) {
    const QByteArray local = LocalFileName::encode(folder) + '/';
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(local.constData()), ::closedir);
    QStringList names;
    if (!listing)
        return names;
    while (const dirent* entry = ::readdir(listing.get())) {
        const QByteArray name(entry->d_name);
        const auto type = [&]() -> mode_t {
            if (entry->d_type == DT_REG)
                return S_IFREG;
            if (entry->d_type == DT_DIR)
                return S_IFDIR;
            struct stat info {};
            return ::stat((local + name).constData(), &info) == 0 ? info.st_mode : mode_t(0);
        };
        if (wanted(name, type))
            names += LocalFileName::decode(name);
    }
    return names;
}

} // namespace

namespace LocalFileName {

Status status(const QString& path) {
    const QByteArray local = encode(path);
    struct stat info {};
    if (::stat(local.constData(), &info) != 0)
        return {};
    return {true, S_ISREG(info.st_mode), S_ISDIR(info.st_mode),
            ::access(local.constData(), S_ISDIR(info.st_mode) ? W_OK | X_OK : W_OK) == 0,
            qint64(info.st_size)};
}

bool sameFile(const QString& first, const QString& second) {
    struct stat one {};
    struct stat other {};
    return ::stat(encode(first).constData(), &one) == 0 &&
           ::stat(encode(second).constData(), &other) == 0 && one.st_dev == other.st_dev &&
           one.st_ino == other.st_ino;
}

// Linux gives every name to a file.
QString reservedNameProblem(const QString&) {
    return {};
}

SystemError open(QFile& file, const QString& path, QIODevice::OpenMode mode) {
    // Writing empties the file first, as QFile does.
    const int flags = mode.testFlag(QIODevice::WriteOnly) ? O_WRONLY | O_TRUNC : O_RDONLY;
    const int fd = ::open(encode(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return errnoError(errno);
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return errnoError(EISDIR);
    }
    if (file.open(fd, mode, QFileDevice::AutoCloseHandle))
        return {};
    ::close(fd);
    return errnoError(EBADF);
}

QStringList messageFilesIn(const QString& folder) {
    return entriesIn(folder, [](const QByteArray& name, const auto& type) {
        return !name.startsWith('.') && name.size() > 4 && name.right(4).toLower() == ".tvo" &&
               S_ISREG(type());
    });
}

QStringList foldersIn(const QString& folder) {
    const bool root = QDir::cleanPath(folder) == QDir::rootPath();
    return entriesIn(folder, [root](const QByteArray& name, const auto& type) {
        return (name == ".." ? !root : !name.startsWith('.')) && S_ISDIR(type());
    });
}

} // namespace LocalFileName
