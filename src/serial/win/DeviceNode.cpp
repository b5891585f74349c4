#include "serial/DeviceNode.h"

#include "core/win/WideName.h"

#include <QRegularExpression>

#include <windows.h>

namespace DeviceNode {

// A COM port's name ("COM3", "\\.\COM10") names a device even when Windows
// reports attributes for it; anything else that exists is a file or a folder.
bool namesSomethingElse(const QString& path) {
    static const QRegularExpression portName(QStringLiteral(R"(^(\\\\\.\\)?COM\d+$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (portName.match(path).hasMatch() || path.startsWith(QStringLiteral("\\\\.\\")))
        return false;
    return ::GetFileAttributesW(wideName(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Windows ends the calls on a port whose adapter was unplugged.
bool stillLeadsTo(const QString&, PortHandle port) {
    DCB settings{};
    settings.DCBlength = sizeof settings;
    return ::GetCommState(port, &settings);
}

} // namespace DeviceNode
