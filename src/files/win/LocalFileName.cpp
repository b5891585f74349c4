#include "files/LocalFileName.h"

#include "core/win/WideName.h"
#include "core/win/WindowsError.h"

#include <QDir>
#include <QRegularExpression>

#include <io.h>
#include <memory>
#include <windows.h>

namespace {

// The entries of folder that wanted() keeps, given each name and its
// attributes, every name unit for unit as Windows holds it.
template <typename Wanted> QStringList entriesIn(const QString& folder, Wanted wanted) {
    QStringList names;
    WIN32_FIND_DATAW entry;
    const HANDLE found = ::FindFirstFileExW((wideName(folder) + L"\\*").c_str(), FindExInfoBasic,
                                            &entry, FindExSearchNameMatch, nullptr, 0);
    if (found == INVALID_HANDLE_VALUE)
        return names;
    const std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> listing(found, ::FindClose);
    do {
        const QString name = fromWideName(entry.cFileName);
        if (wanted(name, entry.dwFileAttributes))
            names += name;
    } while (::FindNextFileW(found, &entry));
    return names;
}

bool hidden(const QString& name, DWORD attributes) {
    return name.startsWith('.') || (attributes & FILE_ATTRIBUTE_HIDDEN);
}

bool identity(const QString& path, BY_HANDLE_FILE_INFORMATION& info) {
    // No access asked: this opens folders and files in use alike.
    const HANDLE handle = ::CreateFileW(
        wideName(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool known = ::GetFileInformationByHandle(handle, &info);
    ::CloseHandle(handle);
    return known;
}

// The last name of path when Windows gives it to a device whatever follows
// its first dot or colon: CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9 (also
// with ¹, ² or ³), in any case, spaces before the dot ignored ("Com5 .tvo");
// else empty.
QString deviceName(const QString& path) {
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|(COM|LPT)[1-9\\x{B9}\\x{B2}\\x{B3}]) *([.:].*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString name = QDir::fromNativeSeparators(path).section(QLatin1Char('/'), -1);
    return device.match(name).hasMatch() ? name : QString();
}

} // namespace

namespace LocalFileName {

QString reservedNameProblem(const QString& path) {
    const QString name = deviceName(path);
    if (name.isEmpty())
        return {};
    return QStringLiteral("Il nome \"%1\" è riservato da Windows a un dispositivo: scegli un "
                          "altro nome")
        .arg(name);
}

Status status(const QString& path) {
    const DWORD attributes = ::GetFileAttributesW(wideName(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {};
    const bool isDir = attributes & FILE_ATTRIBUTE_DIRECTORY;
    // A folder's read-only mark says nothing of creating files in it.
    return {true, !isDir && !(attributes & FILE_ATTRIBUTE_DEVICE), isDir,
            isDir || !(attributes & FILE_ATTRIBUTE_READONLY)};
}

bool sameFile(const QString& first, const QString& second) {
    BY_HANDLE_FILE_INFORMATION one{};
    BY_HANDLE_FILE_INFORMATION other{};
    return identity(first, one) && identity(second, other) &&
           one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

SystemError open(QFile& file, const QString& path, QIODevice::OpenMode mode) {
    // Opening it would open the device, and reading a serial port waits.
    if (!deviceName(path).isEmpty())
        return {SystemError::Kind::Other,
                QStringLiteral("il nome è riservato da Windows a un dispositivo")};
    const std::wstring name = wideName(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return windowsError(errorDirectoryNotSupported);
    // Writing empties the file first, as QFile does; others may read and
    // write it meanwhile, as on Linux. The handle is not inherited.
    const bool writing = mode.testFlag(QIODevice::WriteOnly);
    const HANDLE handle = ::CreateFileW(
        name.c_str(), writing ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
        nullptr, writing ? TRUNCATE_EXISTING : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return windowsError(::GetLastError());
    // The C library's descriptor, which QFile takes, in binary mode (no flag
    // asks for text).
    const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
    if (descriptor < 0) {
        ::CloseHandle(handle);
        return windowsError(ERROR_TOO_MANY_OPEN_FILES);
    }
    if (file.open(descriptor, mode, QFileDevice::AutoCloseHandle))
        return {};
    ::_close(descriptor);
    return windowsError(ERROR_INVALID_HANDLE);
}

QStringList messageFilesIn(const QString& folder) {
    return entriesIn(folder, [](const QString& name, DWORD attributes) {
        return !hidden(name, attributes) && name.size() > 4 &&
               name.endsWith(QStringLiteral(".tvo"), Qt::CaseInsensitive) &&
               !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
    });
}

QStringList foldersIn(const QString& folder) {
    // A drive's root ("C:/") has no "..": Windows lists none there.
    return entriesIn(folder, [](const QString& name, DWORD attributes) {
        return (name == QStringLiteral("..") || !hidden(name, attributes)) &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY);
    });
}

} // namespace LocalFileName
