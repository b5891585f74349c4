#include "core/SystemError.h"

SystemError SystemError::described(const QString& systemText) {
    if (systemText.isEmpty())
        return {Kind::Other, QStringLiteral("errore sconosciuto")};
    return {Kind::Other, QStringLiteral("errore di sistema (%1)").arg(systemText)};
}

SystemError SystemError::notASerialPort() {
    return {Kind::NotSerialPort, QStringLiteral("non è una porta seriale")};
}
