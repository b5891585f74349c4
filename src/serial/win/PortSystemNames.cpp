#include "serial/PortSystemNames.h"

#include <QSerialPortInfo>

namespace PortSystemNames {

// "COM3", as Device Manager lists it and the port box takes it, not its
// device path \\.\COM3.
QString boxName(const QSerialPortInfo& info) {
    return info.portName();
}

// A COM number is Windows' own stable name: it follows the adapter.
QString stableName(const QString&) {
    return {};
}

} // namespace PortSystemNames
