#include "files/DiskFile.h"

#include "core/win/WindowsError.h"
#include "core/win/WideName.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <io.h>
#include <windows.h>

// The temporary name travels as the UTF-16 code units of its wide path.
namespace {

QByteArray fromWide(const std::wstring& name) {
    return QByteArray(reinterpret_cast<const char*>(name.c_str()),
                      qsizetype((name.size() + 1) * sizeof(wchar_t)));
}

const wchar_t* toWide(const QByteArray& name) {
    return reinterpret_cast<const wchar_t*>(name.constData());
}

HANDLE handleOf(QFileDevice& file) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()));
}

} // namespace

namespace DiskFile {

SystemError syncToDisk(QFileDevice& file) {
    return ::FlushFileBuffers(handleOf(file)) ? SystemError{} : windowsError(::GetLastError());
}

SystemError createBeside(const QString& path, QFile& file, QByteArray& temporaryName) {
    const QString folder = QFileInfo(path).absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name =
            wideName(folder + QStringLiteral("/.tarvodisp-%1")
                                  .arg(QRandomGenerator::global()->generate(), 8, 16, QChar('0')));
        const HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_FILE_EXISTS)
                continue;
            return windowsError(code);
        }
        // The C library's descriptor, which QFile takes, in binary mode (no
        // flag asks for text): the only way to fail is a full table.
        const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
        if (descriptor < 0) {
            ::CloseHandle(handle);
            ::DeleteFileW(name.c_str());
            return windowsError(ERROR_TOO_MANY_OPEN_FILES);
        }
        temporaryName = fromWide(name);
        file.open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered,
                  QFileDevice::AutoCloseHandle);
        return {};
    }
    return windowsError(ERROR_FILE_EXISTS);
}

// A new file takes the permissions its folder passes on; the replace below
// keeps those of the file it replaces where Windows can.
SystemError takePermissionsOf(QFileDevice&, const QString&) {
    return {};
}

// A rename within the folder, which Windows does whole: the old file stays as
// it was if it fails. Write-through: done only once the disk holds it.
SystemError moveOver(const QByteArray& temporaryName, const QString& path) {
    if (::MoveFileExW(toWide(temporaryName), wideName(path).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return windowsError(::GetLastError());
}

void remove(const QByteArray& temporaryName) {
    ::DeleteFileW(toWide(temporaryName));
}

} // namespace DiskFile
