#pragma once

#include <QString>

// Why a call to the system failed: the kind, for the callers that decide on
// it or word it their own way, and the reason in the operator's words, the
// same in any locale ("permesso negato", "il disco è pieno", ...). Each
// platform's side fills it from its own error codes; a failure that no code
// explains is Other, with the system's text.
struct SystemError {
    enum class Kind {
        None,          // no failure
        Missing,       // the file, folder or device is not there
        Denied,        // this user may not
        Busy,          // a device held by another opening
        InUse,         // a file another program holds
        Invalid,       // a name or value the system refuses
        TryAgain,      // nothing there yet: the call would have to wait
        NotSerialPort, // a device, file or folder that is no serial port
        DeviceFailed,  // the disk or device failed, or is gone
        Other,
    };

    Kind kind = Kind::None;
    QString reason;

    bool failed() const { return kind != Kind::None; }

    // A failure known only by the system's text (Qt's errorString()).
    static SystemError described(const QString& systemText);
    // A device, file or folder given where a serial port belongs.
    static SystemError notASerialPort();

    // The error behind a text that Qt made from one of this system's error
    // codes (what errorString() of a serial port or file holds after a
    // system call failed); None when the text came from no code.
    static SystemError behind(const QString& systemText);
};

// The error that the calling thread's last failed system call left, for a
// failure inside Qt's own classes: cleared before the call, taken right after
// it; None when the failure made no system call.
void clearLastSystemError();
SystemError lastSystemError();
