#pragma once

#include <QString>

class QSerialPortInfo;

// How this system names a port to the operator.
namespace PortSystemNames {

// The name the port box takes for it: the device path on Linux
// (/dev/ttyUSB0), the port's own name on Windows (COM3).
QString boxName(const QSerialPortInfo& info);

// The name that stays the same whatever order adapters are plugged in
// (/dev/serial/by-id/...), where the system keeps one; else empty.
QString stableName(const QString& device);

} // namespace PortSystemNames
