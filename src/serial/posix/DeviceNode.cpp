#include "serial/DeviceNode.h"

#include <QFile>

#include <sys/stat.h>

namespace DeviceNode {

bool namesSomethingElse(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISCHR(info.st_mode);
}

bool stillLeadsTo(const QString& path, PortHandle port) {
    struct stat open {};
    struct stat named {};
    return ::fstat(port, &open) == 0 && ::stat(QFile::encodeName(path).constData(), &named) == 0 &&
           S_ISCHR(named.st_mode) && named.st_rdev == open.st_rdev;
}

} // namespace DeviceNode
