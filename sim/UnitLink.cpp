#include "UnitLink.h"

#include "core/SimulatedUnitFolder.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int MaxUnits = 99;

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The folder exists, is a real folder and belongs to this user: nobody else
// can put links in it.
bool ownFolder(const QString& path, QString* error) {
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
        *error = QStringLiteral("Impossibile creare la cartella %1: %2").arg(path, systemError());
        return false;
    }
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid() || (info.st_mode & 022) != 0) {
        *error =
            QStringLiteral("La cartella %1 non è una cartella privata di questo utente").arg(path);
        return false;
    }
    return true;
}

} // namespace

bool UnitLink::create(const QString& target, const QString& name, QString* error) {
    remove();
    const QString dir = simulatedUnitFolder();
    if (!ownFolder(dir, error))
        return false;
    if (!name.isEmpty()) {
        if (name.contains('/') || name.startsWith('.') || name.endsWith(QStringLiteral(".lock"))) {
            *error = QStringLiteral("Nome non valido per il collegamento: \"%1\"").arg(name);
            return false;
        }
        if (take(dir, name, target, error))
            return true;
        if (error->isEmpty())
            *error = QStringLiteral("Il nome %1 è già usato da un'altra unità simulata")
                         .arg(dir + '/' + name);
        return false;
    }
    for (int number = 1; number <= MaxUnits; ++number) {
        if (take(dir, QStringLiteral("tarvo-%1").arg(number), target, error))
            return true;
        if (!error->isEmpty())
            return false;
    }
    *error = QStringLiteral("Nessun nome libero in %1").arg(dir);
    return false;
}

bool UnitLink::take(const QString& dir, const QString& name, const QString& target,
                    QString* error) {
    error->clear();
    const QString link = dir + '/' + name;
    const QByteArray lockName = QFile::encodeName(link + QStringLiteral(".lock"));
    FileDescriptor lock;
    // A unit that ends removes its lock file while it still holds it: a lock
    // taken on a file that is no longer there is worthless, so look again.
    for (bool current = false; !current;) {
        lock.reset(::open(lockName.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!lock.isOpen()) {
            *error = QStringLiteral("Impossibile creare %1.lock: %2").arg(link, systemError());
            return false;
        }
        if (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
            // Held by a running unit: the name is taken, which is no error.
            if (errno != EWOULDBLOCK)
                *error =
                    QStringLiteral("Impossibile bloccare %1.lock: %2").arg(link, systemError());
            return false;
        }
        struct stat held {};
        struct stat named {};
        current = ::fstat(lock.get(), &held) == 0 && ::stat(lockName.constData(), &named) == 0 &&
                  held.st_ino == named.st_ino && held.st_dev == named.st_dev;
    }
    const QByteArray linkName = QFile::encodeName(link);
    ::unlink(linkName.constData());
    if (::symlink(QFile::encodeName(target).constData(), linkName.constData()) != 0) {
        *error =
            QStringLiteral("Impossibile creare il collegamento %1: %2").arg(link, systemError());
        return false;
    }
    m_lock = std::move(lock);
    m_path = link;
    return true;
}

void UnitLink::remove() {
    if (!m_path.isEmpty()) {
        ::unlink(QFile::encodeName(m_path).constData());
        ::unlink(QFile::encodeName(m_path + QStringLiteral(".lock")).constData());
    }
    m_path.clear();
    m_lock.reset();
}
