#include "serial/OpenFailure.h"

#include "serial/PortCatalog.h"
#include "serial/PortPermission.h"

#include <QStringList>

namespace {

QString notThere(const QString& device) {
    QString text =
        QStringLiteral("La porta %1 non esiste: controlla il numero o il cavo USB").arg(device);
    // brltty takes some USB adapters away as soon as they are plugged in.
    if (processRunning(QStringLiteral("brltty")))
        text += QStringLiteral(" (se l'adattatore sparisce appena collegato è brltty: se non usi "
                               "un display braille, sudo apt remove brltty)");
    return text + QStringLiteral(". ") + PortCatalog::summary();
}

} // namespace

QString inUseMessage(const QString& device, const QList<PortHolder>& holders) {
    if (holders.isEmpty())
        return QStringLiteral("La porta %1 è occupata da un altro programma (che questo utente "
                              "non può vedere): chiudilo e riprova")
            .arg(device);
    QStringList names;
    for (const PortHolder& holder : holders)
        names += QStringLiteral("%1 (pid %2)")
                     .arg(holder.name.isEmpty() ? QStringLiteral("?") : holder.name)
                     .arg(holder.pid);
    QString advice = QStringLiteral("chiudilo e riprova");
    for (const PortHolder& holder : holders) {
        if (holder.name == QStringLiteral("ModemManager"))
            advice = QStringLiteral("ModemManager prova ogni porta appena collegata: aspetta "
                                    "qualche secondo e riprova; se capita sempre, sudo systemctl "
                                    "disable --now ModemManager");
        else if (holder.name == QStringLiteral("brltty"))
            advice = QStringLiteral("brltty (display braille) si prende gli adattatori USB: se non "
                                    "lo usi, sudo apt remove brltty e ricollega l'adattatore");
    }
    return QStringLiteral("La porta %1 è occupata da %2: %3")
        .arg(device, names.join(QStringLiteral(", ")), advice);
}

QString explainOpenFailure(const QString& device, QSerialPort::SerialPortError error,
                           const QString& systemReason) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return notThere(device);
    case QSerialPort::PermissionError: {
        // Both a missing permission and a port that another program holds
        // (its lock file, or exclusive use) end here.
        const QString permission = permissionProblem(device);
        if (!permission.isEmpty())
            return permission;
        return inUseMessage(device, portHolders(device));
    }
    default:
        return QStringLiteral("Impossibile aprire la porta %1: %2. %3")
            .arg(device, systemReason, PortCatalog::summary());
    }
}
