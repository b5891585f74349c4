#pragma once

#include "serial/PortHandle.h"

#include <QString>

// What a port's path names on this system: a serial device or something
// else, and whether the device open on a port is still there.
namespace DeviceNode {

// True when the path names something that exists and is no character device:
// a regular file, a folder, a pipe. False for a device, and for a path that
// cannot be looked at (missing, or a folder on the way closed to this user).
bool namesSomethingElse(const QString& path);

// Whether the path still leads to the device open on port: false
// once an adapter is unplugged or the far end of a pseudo-terminal is gone.
bool stillLeadsTo(const QString& path, PortHandle port);

} // namespace DeviceNode
