#pragma once

#include <QString>

// What stands between this process and reading and writing a device, in the
// operator's words with what to do about it: which group grants access,
// whether the user is in it, and whether a new login is needed. Empty when
// the process may use the device (or it cannot be looked at).
QString permissionProblem(const QString& device);

// The first folder on the way to the device, its links followed, that this
// user may not pass through; empty when none blocks the way.
QString blockingFolder(const QString& device);

// The system's error number when this process opens the device now for
// reading and writing; 0 when it opens (it is closed again at once).
int openingError(const QString& device);
