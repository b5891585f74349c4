#pragma once

#include <QString>

// What on Linux keeps a device from this user: its permissions, a folder on
// the way, a service that takes USB adapters.

// What stands between this process and reading and writing a device: which
// group grants access, whether the user is in it, and whether a new login is
// needed. The messages word it.
struct PermissionFinding {
    enum class Kind {
        // The process may use the device, or it cannot be looked at.
        None,
        // No group grants reading and writing: only the owner may.
        NoGroupGrants,
        // The process is in the granting group and is refused all the same.
        RefusedDespiteGroup,
        // The user joined the granting group after this login.
        JoinedAfterLogin,
        // The user is not in the granting group.
        NotInGroup,
    };

    Kind kind = Kind::None;
    QString owner;
    // The device's permissions, "rw-rw----".
    QString mode;
    QString user;
    QString group;
};
PermissionFinding permissionFinding(const QString& device);

// The first folder on the way to the device, its links followed, that this
// user may not pass through; empty when none blocks the way.
QString blockingFolder(const QString& device);

// Whether a process of this name runs, e.g. "brltty".
bool processRunning(const QString& name);
