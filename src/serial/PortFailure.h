#pragma once

#include <QString>

// Why a port could not be opened, stopped working or lost a reply to
// another program: what kind of trouble, for callers that act on it, and
// the operator's words for it.
struct PortFailure {
    enum class Kind {
        // Nothing went wrong.
        None,
        // No such device, or the port box names none.
        Missing,
        // Another program holds the port, or may have taken a reply.
        InUse,
        // This user may not open the device or reach it.
        NoPermission,
        // The port stopped working while open.
        Lost,
        // A file, a folder or anything else that is no serial device.
        NotASerialPort,
        // The system or the line refused it for another reason, told in `text`.
        Refused,
    };

    Kind kind = Kind::None;
    QString text;

    bool happened() const { return kind != Kind::None; }
};
