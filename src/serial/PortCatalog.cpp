#include "serial/PortCatalog.h"

#include "core/SimulatedUnitFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>
#include <QStringList>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Canonical device path -> its name under /dev/serial/by-id.
QHash<QString, QString> namesById() {
    QHash<QString, QString> names;
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files))
        names.insert(link.canonicalFilePath(), link.absoluteFilePath());
    return names;
}

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

} // namespace

QString PortEntry::label() const {
    QStringList parts{device};
    QStringList about;
    for (const QString& detail : {description, manufacturer})
        if (!detail.isEmpty())
            about += detail;
    if (!serialNumber.isEmpty())
        about += QStringLiteral("n. di serie %1").arg(serialNumber);
    if (!about.isEmpty())
        parts += about.join(QStringLiteral(", "));
    if (path != device)
        parts += path;
    return parts.join(QStringLiteral(" — "));
}

QList<PortEntry> PortCatalog::present() {
    const QHash<QString, QString> byId = namesById();
    QList<PortEntry> adapters;
    QList<PortEntry> others;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortEntry entry;
        entry.device = info.systemLocation();
        entry.byId = byId.value(QFileInfo(entry.device).canonicalFilePath());
        entry.path = entry.byId.isEmpty() ? entry.device : entry.byId;
        if (info.hasVendorIdentifier()) {
            entry.description = info.description();
            entry.manufacturer = info.manufacturer();
            entry.serialNumber = info.serialNumber();
            adapters += entry;
        } else {
            others += entry;
        }
    }
    return adapters + simulatedUnits() + others;
}

QString PortCatalog::summary() {
    QStringList names;
    for (const PortEntry& entry : present())
        names += entry.path;
    if (names.isEmpty())
        return QStringLiteral("Nessuna porta seriale trovata");
    return QStringLiteral("Porte presenti: ") + names.join(QStringLiteral(", "));
}
