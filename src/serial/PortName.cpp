#include "serial/PortName.h"

#include "core/Windows1252.h"
#include "serial/NetworkAddress.h"
#include "serial/PortMessages.h"

#include <QDir>
#include <QRegularExpression>

PortName PortName::fromText(const QByteArray& portText) {
    const QByteArray text = portText.trimmed();
    if (text.startsWith('/'))
        return {Windows1252::decode(text), {}};
#ifdef Q_OS_WIN
    // "COM3", "com3", "\\.\COM10": Windows' own names, opened as given.
    static const QRegularExpression portName(QStringLiteral(R"(^(\\\\\.\\)?COM([1-9]\d*)$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch match = portName.match(QString::fromLatin1(text));
        match.hasMatch()) {
        if (match.captured(2).toInt() > 256)
            return {{}, portNumberOutOfRange(match.captured(2).toInt())};
        return {match.captured(1) + QStringLiteral("COM") + match.captured(2), {}};
    }
#endif
    if (const auto address = NetworkAddress::fromPortText(Windows1252::decode(text)))
        return {address->url(), {}};
    // "./run/unit" names the device that "/working/folder/run/unit" names; a
    // text like "host://x" is an address, not a path.
    if (text.contains('/') && !text.contains("://"))
        return {QDir::cleanPath(QDir::current().absoluteFilePath(Windows1252::decode(text))), {}};
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (!isNumber)
        return {{}, invalidPortText(Windows1252::decode(portText))};
    if (number < 1 || number > 256)
        return {{}, portNumberOutOfRange(number)};
#ifdef Q_OS_WIN
    return {QStringLiteral("COM%1").arg(number), {}};
#else
    return {QStringLiteral("/dev/ttyS%1").arg(number - 1), {}};
#endif
}
