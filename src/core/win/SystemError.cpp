#include "core/SystemError.h"

#include "core/win/WindowsError.h"

namespace {

using Kind = SystemError::Kind;

// Every code the table words, for finding the one behind a text.
constexpr DWORD knownCodes[] = {ERROR_FILE_NOT_FOUND,
                                ERROR_PATH_NOT_FOUND,
                                ERROR_INVALID_DRIVE,
                                ERROR_BAD_NETPATH,
                                ERROR_BAD_NET_NAME,
                                ERROR_ACCESS_DENIED,
                                ERROR_PRIVILEGE_NOT_HELD,
                                ERROR_SHARING_VIOLATION,
                                ERROR_LOCK_VIOLATION,
                                ERROR_INVALID_NAME,
                                ERROR_INVALID_PARAMETER,
                                ERROR_NOT_READY,
                                ERROR_DEVICE_NOT_CONNECTED,
                                ERROR_DEVICE_REMOVED,
                                ERROR_GEN_FAILURE,
                                ERROR_IO_DEVICE,
                                ERROR_DISK_FULL,
                                ERROR_HANDLE_DISK_FULL,
                                ERROR_WRITE_PROTECT,
                                ERROR_FILENAME_EXCED_RANGE,
                                ERROR_FILE_EXISTS,
                                ERROR_ALREADY_EXISTS,
                                ERROR_DIRECTORY,
                                errorDirectoryNotSupported,
                                ERROR_NOT_ENOUGH_MEMORY,
                                ERROR_OUTOFMEMORY,
                                ERROR_TOO_MANY_OPEN_FILES,
                                ERROR_SEM_TIMEOUT,
                                ERROR_OPERATION_ABORTED};

SystemError other(const char* reason) {
    return {Kind::Other, QString::fromUtf8(reason)};
}

} // namespace

SystemError windowsError(DWORD code) {
    switch (code) {
    case ERROR_SUCCESS:
        return {};
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return {Kind::Missing, QStringLiteral("non esiste")};
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return {Kind::Denied, QStringLiteral("permesso negato")};
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return {Kind::InUse, QStringLiteral("il file è in uso da un altro programma")};
    case ERROR_INVALID_NAME:
        return {Kind::Invalid, QStringLiteral("nome non valido")};
    case ERROR_INVALID_PARAMETER:
        return {Kind::Invalid, QStringLiteral("valore non valido")};
    case ERROR_NOT_READY:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
        return {Kind::DeviceFailed,
                QStringLiteral("il dispositivo non è collegato o non risponde")};
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
        return {Kind::DeviceFailed, QStringLiteral("errore del disco o del dispositivo")};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return other("il disco è pieno");
    case ERROR_WRITE_PROTECT:
        return other("il disco è protetto in scrittura");
    case ERROR_FILENAME_EXCED_RANGE:
        return other("il nome è troppo lungo");
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return other("esiste già");
    case ERROR_DIRECTORY:
        return other("una parte del percorso non è una cartella");
    case errorDirectoryNotSupported:
        return other("è una cartella, non un file");
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return other("memoria insufficiente");
    case ERROR_TOO_MANY_OPEN_FILES:
        return other("troppi file aperti");
    case ERROR_SEM_TIMEOUT:
        return other("tempo scaduto");
    case ERROR_OPERATION_ABORTED:
        return other("operazione interrotta");
    default:
        return {Kind::Other, QStringLiteral("errore di sistema n. %1 (%2)")
                                 .arg(code)
                                 .arg(qt_error_string(int(code)))};
    }
}

SystemError SystemError::behind(const QString& systemText) {
    if (systemText.isEmpty())
        return {};
    for (const DWORD code : knownCodes)
        if (qt_error_string(int(code)) == systemText)
            return windowsError(code);
    return {};
}

void clearLastSystemError() {
    ::SetLastError(ERROR_SUCCESS);
}

SystemError lastSystemError() {
    return windowsError(::GetLastError());
}
