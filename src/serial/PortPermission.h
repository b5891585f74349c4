#pragma once

#include <QString>

// What stands between this process and reading and writing a device, in the
// operator's words with what to do about it: which group grants access,
// whether the user is in it, and whether a new login is needed. Empty when
// the process may use the device (or it cannot be looked at).
QString permissionProblem(const QString& device);
