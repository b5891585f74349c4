#include "core/SystemError.h"

#include "core/win/WindowsError.h"

#include <algorithm>
#include <iterator>

namespace {

using Kind = SystemError::Kind;

struct Wording {
    DWORD code;
    Kind kind;
    const char* reason;
};

// Every code worded for the operator: looked up by code, and searched for
// the one behind a text.
constexpr Wording wordings[] = {
    {ERROR_FILE_NOT_FOUND, Kind::Missing, "non esiste"},
    {ERROR_PATH_NOT_FOUND, Kind::Missing, "non esiste"},
    {ERROR_INVALID_DRIVE, Kind::Missing, "non esiste"},
    {ERROR_BAD_NETPATH, Kind::Missing, "non esiste"},
    {ERROR_BAD_NET_NAME, Kind::Missing, "non esiste"},
    {ERROR_ACCESS_DENIED, Kind::Denied, "permesso negato"},
    {ERROR_PRIVILEGE_NOT_HELD, Kind::Denied, "permesso negato"},
    {ERROR_SHARING_VIOLATION, Kind::InUse, "il file è in uso da un altro programma"},
    {ERROR_LOCK_VIOLATION, Kind::InUse, "il file è in uso da un altro programma"},
    {ERROR_INVALID_NAME, Kind::Invalid, "nome non valido"},
    {ERROR_INVALID_PARAMETER, Kind::Invalid, "valore non valido"},
    {ERROR_NOT_READY, Kind::DeviceFailed, "il dispositivo non è collegato o non risponde"},
    {ERROR_DEVICE_NOT_CONNECTED, Kind::DeviceFailed,
     "il dispositivo non è collegato o non risponde"},
    {ERROR_DEVICE_REMOVED, Kind::DeviceFailed, "il dispositivo non è collegato o non risponde"},
    {ERROR_GEN_FAILURE, Kind::DeviceFailed, "errore del disco o del dispositivo"},
    {ERROR_IO_DEVICE, Kind::DeviceFailed, "errore del disco o del dispositivo"},
    {ERROR_DISK_FULL, Kind::Other, "il disco è pieno"},
    {ERROR_HANDLE_DISK_FULL, Kind::Other, "il disco è pieno"},
    {ERROR_WRITE_PROTECT, Kind::Other, "il disco è protetto in scrittura"},
    {ERROR_FILENAME_EXCED_RANGE, Kind::Other, "il nome è troppo lungo"},
    {ERROR_FILE_EXISTS, Kind::Other, "esiste già"},
    {ERROR_ALREADY_EXISTS, Kind::Other, "esiste già"},
    {ERROR_DIRECTORY, Kind::Other, "una parte del percorso non è una cartella"},
    {errorDirectoryNotSupported, Kind::Other, "è una cartella, non un file"},
    {ERROR_NOT_ENOUGH_MEMORY, Kind::Other, "memoria insufficiente"},
    {ERROR_OUTOFMEMORY, Kind::Other, "memoria insufficiente"},
    {ERROR_TOO_MANY_OPEN_FILES, Kind::Other, "troppi file aperti"},
    {ERROR_SEM_TIMEOUT, Kind::Other, "tempo scaduto"},
    {ERROR_OPERATION_ABORTED, Kind::Other, "operazione interrotta"},
};

SystemError worded(const Wording& wording) {
    return {wording.kind, QString::fromUtf8(wording.reason)};
}

} // namespace

SystemError windowsError(DWORD code) {
    if (code == ERROR_SUCCESS)
        return {};
    const auto found =
        std::find_if(std::begin(wordings), std::end(wordings),
                     [code](const Wording& wording) { return wording.code == code; });
    if (found != std::end(wordings))
        return worded(*found);
    return {
        Kind::Other,
        QStringLiteral("errore di sistema n. %1 (%2)").arg(code).arg(qt_error_string(int(code)))};
}

SystemError SystemError::behind(const QString& systemText) {
    if (systemText.isEmpty())
        return {};
    for (const Wording& wording : wordings)
        if (qt_error_string(int(wording.code)) == systemText)
            return worded(wording);
    return {};
}

void clearLastSystemError() {
    ::SetLastError(ERROR_SUCCESS);
}

SystemError lastSystemError() {
    return windowsError(::GetLastError());
}
