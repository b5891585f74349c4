#include "serial/PortCatalog.h"

#include "serial/PortSystemNames.h"
#include "serial/SimulatedUnits.h"

#include <QSerialPortInfo>
#include <QStringList>

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
    QList<PortEntry> adapters;
    QList<PortEntry> others;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortEntry entry;
        entry.device = PortSystemNames::boxName(info);
        entry.byId = PortSystemNames::stableName(info.systemLocation());
        entry.path = entry.byId.isEmpty() ? entry.device : entry.byId;
        // Windows describes every port ("Porta di comunicazione"), Linux
        // only USB adapters.
        entry.description = info.description();
        entry.manufacturer = info.manufacturer();
        entry.serialNumber = info.serialNumber();
        (info.hasVendorIdentifier() ? adapters : others) += entry;
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
