#include "files/FolderAccess.h"

#include "core/win/WindowsError.h"
#include "core/win/WideName.h"

#include <windows.h>

SystemError folderEntryError(const QString& folder) {
    const std::wstring name = wideName(folder);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return windowsError(::GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return windowsError(ERROR_DIRECTORY);
    // Listing the folder is what its permissions may refuse.
    WIN32_FIND_DATAW entry;
    const HANDLE listing = ::FindFirstFileExW((name + L"\\*").c_str(), FindExInfoBasic, &entry,
                                              FindExSearchNameMatch, nullptr, 0);
    if (listing == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? SystemError{} : windowsError(code);
    }
    ::FindClose(listing);
    return {};
}
