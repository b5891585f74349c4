#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <optional>
#include <sys/ioctl.h>
#include <unistd.h>

// Whether the serial line at path carries the exclusive flag (TIOCEXCL) that
// keeps every later opening by an ordinary user out; nullopt when it cannot
// be asked.
inline std::optional<bool> exclusiveFlag(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    int exclusive = 0;
    const bool asked = ::ioctl(fd, TIOCGEXCL, &exclusive) == 0;
    ::close(fd);
    return asked ? std::optional<bool>(exclusive != 0) : std::nullopt;
}
