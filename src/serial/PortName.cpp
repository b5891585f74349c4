#include "serial/PortName.h"

#include "core/Windows1252.h"

PortName PortName::fromText(const QByteArray& portText) {
    const QByteArray text = portText.trimmed();
    if (text.startsWith('/'))
        return {Windows1252::decode(text), {}};
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (!isNumber)
        return {{},
                QStringLiteral("Porta COM \"%1\" non valida: scrivi il numero della porta (es. 1) "
                               "o il percorso del dispositivo (es. /dev/ttyUSB0)")
                    .arg(Windows1252::decode(portText))};
    if (number < 1 || number > 256)
        return {{}, QStringLiteral("Porta COM %1 non valida: il numero va da 1 a 256").arg(number)};
#ifdef Q_OS_WIN
    return {QStringLiteral("COM%1").arg(number), {}};
#else
    return {QStringLiteral("/dev/ttyS%1").arg(number - 1), {}};
#endif
}
