#include "serial/PortSystemNames.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace PortSystemNames {

QString boxName(const QSerialPortInfo& info) {
    return info.systemLocation();
}

QString stableName(const QString& device) {
    const QString canonical = QFileInfo(device).canonicalFilePath();
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files))
        if (link.canonicalFilePath() == canonical)
            return link.absoluteFilePath();
    return {};
}

} // namespace PortSystemNames
