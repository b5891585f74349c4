#include "files/FileReservation.h"

#include "core/posix/ErrnoError.h"
#include "files/FileErrorReason.h"
#include "files/LocalFileName.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// The open file, whose lock is the hold.
struct FileReservation::Hold {
    QFile file;
};

void FileReservation::EndHold::operator()(Hold* hold) const {
    delete hold;
}

namespace {

// Takes the lock on the open descriptor without waiting: false while
// another process holds it.
bool lock(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

} // namespace

FileReservation FileReservation::createNew(const QString& path) {
    FileReservation reservation;
    reservation.m_path = path;
    const int fd = ::open(LocalFileName::encode(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int code = errno;
        if (code == EEXIST) {
            reservation.m_outcome = Outcome::Exists;
        } else {
            reservation.m_outcome = Outcome::Failed;
            reservation.m_reason = fileErrorReason(path, errnoError(code), {});
        }
        return reservation;
    }
    reservation.m_hold.reset(new Hold);
    reservation.m_hold->file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    reservation.m_created = true;
    // Another process may have opened the new file and locked it already.
    reservation.m_outcome = lock(fd) ? Outcome::Held : Outcome::Busy;
    return reservation;
}

FileReservation FileReservation::claim(const QString& path) {
    const QByteArray local = LocalFileName::encode(path);
    // A second try for a file made by another process between the two calls;
    // a link to a missing file stays missing.
    for (int attempt = 0;; ++attempt) {
        int fd = ::open(local.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 && errno == EACCES)
            fd = ::open(local.constData(), O_WRONLY | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT && attempt == 0) {
            FileReservation made = createNew(path);
            if (made.outcome() != Outcome::Exists)
                return made;
            continue;
        }
        FileReservation reservation;
        reservation.m_path = path;
        if (fd < 0) {
            reservation.m_reason = fileErrorReason(path, errnoError(errno), {});
            return reservation;
        }
        reservation.m_hold.reset(new Hold);
        reservation.m_hold->file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
        reservation.m_outcome = lock(fd) ? Outcome::Held : Outcome::Busy;
        return reservation;
    }
}

void FileReservation::holdWritten() {
    if (!held())
        return;
    FileReservation written = claim(m_path);
    if (written.held())
        *this = std::move(written);
}

void FileReservation::removeIfStillMade() {
    struct stat held {};
    struct stat named {};
    const QByteArray local = LocalFileName::encode(m_path);
    if (::fstat(m_hold->file.handle(), &held) == 0 && ::stat(local.constData(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino && named.st_size == 0)
        ::unlink(local.constData());
}
