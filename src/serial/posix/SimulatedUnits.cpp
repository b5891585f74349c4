#include "serial/SimulatedUnits.h"

#include "core/SimulatedUnitFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A unit's link counts only while the unit holds the lock file beside it: a
// unit that was killed leaves a link to a terminal that may now be another's.
bool unitRunning(const QString& link) {
    const int fd = ::open(QFile::encodeName(link + QStringLiteral(".lock")).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_SH | LOCK_NB) == 0;
    ::close(fd);
    return !free;
}

} // namespace

QList<PortEntry> simulatedUnits() {
    QList<PortEntry> units;
    for (const QString& folder : simulatedUnitFolders()) {
        struct stat info {};
        // Only a folder of this user's own is trusted.
        if (::lstat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != ::geteuid())
            continue;
        for (const QFileInfo& link :
             QDir(folder).entryInfoList(QDir::System | QDir::Files, QDir::Name)) {
            if (!link.isSymLink() || !link.exists() || !unitRunning(link.absoluteFilePath()))
                continue;
            PortEntry entry;
            entry.path = link.absoluteFilePath();
            entry.device = link.canonicalFilePath();
            entry.description = QStringLiteral("unità Tarvo simulata (tarvo-sim)");
            entry.simulated = true;
            units += entry;
        }
    }
    return units;
}
