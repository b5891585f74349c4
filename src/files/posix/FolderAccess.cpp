#include "files/FolderAccess.h"

#include "files/LocalFileName.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int folderEntryError(const QString& folder) {
    const QByteArray local = LocalFileName::encode(folder);
    struct stat info {};
    if (::stat(local.constData(), &info) != 0)
        return errno;
    if (!S_ISDIR(info.st_mode))
        return ENOTDIR;
    // The rights of the user the program runs as, as opening the folder checks them.
    return ::faccessat(AT_FDCWD, local.constData(), R_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}
