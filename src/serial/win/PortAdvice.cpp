#include "serial/PortAdvice.h"

namespace PortAdvice {

QString whenMissing() {
    return QStringLiteral("controlla il numero in Gestione dispositivi (Porte (COM e LPT)) e che "
                          "il driver dell'adattatore sia installato");
}

// Windows grants every user its COM ports: no group and no folder stand in
// the way.
QString whenRefused(const QString&) {
    return {};
}

// Windows names no holder of a port, and hides none from this user.
QString whenInUse(const QString& device, const QList<PortHolder>&) {
    return QStringLiteral("La porta %1 è occupata da un altro programma: chiudilo e riprova")
        .arg(device);
}

QString howToNameAPort() {
    return QStringLiteral("il suo nome (es. COM3)");
}

} // namespace PortAdvice
