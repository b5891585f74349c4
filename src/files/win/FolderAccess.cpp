#include "files/FolderAccess.h"

#include "core/win/WindowsErrno.h"
#include "files/win/WideName.h"

#include <windows.h>

int folderEntryError(const QString& folder) {
    const std::wstring name = wideName(folder);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return errnoFromWindows(::GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ENOTDIR;
    // Listing the folder is what its permissions may refuse.
    WIN32_FIND_DATAW entry;
    const HANDLE listing = ::FindFirstFileExW((name + L"\\*").c_str(), FindExInfoBasic, &entry,
                                              FindExSearchNameMatch, nullptr, 0);
    if (listing == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : errnoFromWindows(::GetLastError());
    ::FindClose(listing);
    return 0;
}
