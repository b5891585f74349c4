#include "serial/PortPermission.h"

#include "core/win/WindowsError.h"
#include "core/win/WideName.h"

#include <windows.h>

// A COM port that another program holds refuses the opening with
// ERROR_ACCESS_DENIED: that is the port in use, the only refusal a port meets
// on Windows, and is given as None like a port held by a program out of sight.
SystemError openingError(const QString& device) {
    const QString name =
        device.startsWith(QStringLiteral("\\\\.\\")) ? device : QStringLiteral("\\\\.\\") + device;
    const HANDLE port = ::CreateFileW(wideName(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (port != INVALID_HANDLE_VALUE) {
        ::CloseHandle(port);
        return {};
    }
    const DWORD code = ::GetLastError();
    return code == ERROR_ACCESS_DENIED ? SystemError{} : windowsError(code);
}
