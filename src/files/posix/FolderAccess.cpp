#include "files/FolderAccess.h"

#include "core/posix/ErrnoError.h"
#include "files/LocalFileName.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SystemError folderEntryError(const QString& folder) {
    const QByteArray local = LocalFileName::encode(folder);
    struct stat info {};
    if (::stat(local.constData(), &info) != 0)
        return errnoError(errno);
    if (!S_ISDIR(info.st_mode))
        return errnoError(ENOTDIR);
    // The rights of the user the program runs as, as opening the folder checks them.
    if (::faccessat(AT_FDCWD, local.constData(), R_OK | X_OK, AT_EACCESS) != 0)
        return errnoError(errno);
    return {};
}
