#include "PseudoTerminal.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>

namespace {

QString failure(const char* what) {
    return QStringLiteral("Impossibile creare la porta seriale simulata (%1): %2")
        .arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

bool setFlags(int fd, int statusFlags) {
    const int status = ::fcntl(fd, F_GETFL);
    return status >= 0 && ::fcntl(fd, F_SETFL, status | statusFlags) == 0 &&
           ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

} // namespace

bool PseudoTerminal::open(QString* error) {
    close();
    FileDescriptor master(::posix_openpt(O_RDWR | O_NOCTTY));
    if (!master.isOpen()) {
        *error = failure("posix_openpt");
        return false;
    }
    if (!setFlags(master.get(), O_NONBLOCK)) {
        *error = failure("fcntl");
        return false;
    }
    if (::grantpt(master.get()) != 0 || ::unlockpt(master.get()) != 0) {
        *error = failure("grantpt/unlockpt");
        return false;
    }
    char name[128];
    if (::ptsname_r(master.get(), name, sizeof name) != 0) {
        *error = failure("ptsname");
        return false;
    }
    FileDescriptor slave(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!slave.isOpen()) {
        *error = failure("open");
        return false;
    }
    termios settings{};
    if (::tcgetattr(slave.get(), &settings) != 0) {
        *error = failure("tcgetattr");
        return false;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    if (::tcsetattr(slave.get(), TCSANOW, &settings) != 0) {
        *error = failure("tcsetattr");
        return false;
    }
    m_master = std::move(master);
    m_slave = std::move(slave);
    m_slavePath = QFile::decodeName(name);
    return true;
}

void PseudoTerminal::close() {
    m_master.reset();
    m_slave.reset();
}
