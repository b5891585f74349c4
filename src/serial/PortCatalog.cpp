#include "serial/PortCatalog.h"

#include "serial/SimulatedUnits.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>
#include <QStringList>

namespace {

// Canonical device path -> its name under /dev/serial/by-id.
QHash<QString, QString> namesById() {
    QHash<QString, QString> names;
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files))
        names.insert(link.canonicalFilePath(), link.absoluteFilePath());
    return names;
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
