#include "files/FileReservation.h"

#include "core/win/WideName.h"
#include "core/win/WindowsError.h"
#include "files/FileErrorReason.h"

#include <QCryptographicHash>
#include <QFileInfo>

#include <windows.h>

// The hold is a named semaphore of one count, keyed by the file's full path:
// unlike a lock on the file it leaves the file free to be read, and replaced
// by the complete copy, and unlike a mutex a second claim from this same
// process is refused too. Windows drops it with the process.
struct FileReservation::Hold {
    HANDLE semaphore = nullptr;
    BY_HANDLE_FILE_INFORMATION made{}; // the file the claim made, to tell it again

    ~Hold() {
        ::ReleaseSemaphore(semaphore, 1, nullptr);
        ::CloseHandle(semaphore);
    }
};

void FileReservation::EndHold::operator()(Hold* hold) const {
    delete hold;
}

namespace {

// Windows' names are the same in any case.
std::wstring semaphoreName(const QString& path) {
    const QByteArray key =
        QCryptographicHash::hash(QFileInfo(path).absoluteFilePath().toLower().toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex();
    return wideName(QStringLiteral("Local\\tarvodisp-file-") + QString::fromLatin1(key));
}

// The semaphore of the name, taken without waiting; null while another run
// holds it or when it cannot be made.
HANDLE takeName(const QString& path) {
    const HANDLE semaphore = ::CreateSemaphoreW(nullptr, 1, 1, semaphoreName(path).c_str());
    if (!semaphore)
        return nullptr;
    if (::WaitForSingleObject(semaphore, 0) == WAIT_OBJECT_0)
        return semaphore;
    ::CloseHandle(semaphore);
    return nullptr;
}

bool sameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// Opens the file at path to tell which it is, with every sharing allowed.
HANDLE openToLookAt(const std::wstring& path, DWORD creation) {
    return ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, creation,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

FileReservation FileReservation::createNew(const QString& path) {
    FileReservation reservation;
    reservation.m_path = path;
    const HANDLE file = openToLookAt(wideName(path), CREATE_NEW);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) {
            reservation.m_outcome = Outcome::Exists;
        } else {
            reservation.m_outcome = Outcome::Failed;
            reservation.m_reason = fileErrorReason(path, windowsError(code), {});
        }
        return reservation;
    }
    BY_HANDLE_FILE_INFORMATION made{};
    const bool known = ::GetFileInformationByHandle(file, &made);
    ::CloseHandle(file);
    reservation.m_created = true;
    const HANDLE semaphore = takeName(path);
    if (!semaphore || !known) {
        if (semaphore)
            ::CloseHandle(semaphore);
        reservation.m_outcome = Outcome::Busy;
        return reservation;
    }
    reservation.m_hold.reset(new Hold);
    reservation.m_hold->semaphore = semaphore;
    reservation.m_hold->made = made;
    reservation.m_outcome = Outcome::Held;
    return reservation;
}

FileReservation FileReservation::claim(const QString& path) {
    FileReservation reservation;
    reservation.m_path = path;
    const HANDLE semaphore = takeName(path);
    if (!semaphore) {
        reservation.m_outcome = Outcome::Busy;
        return reservation;
    }
    std::unique_ptr<Hold, EndHold> hold(new Hold);
    hold->semaphore = semaphore;
    const HANDLE file = openToLookAt(wideName(path), OPEN_ALWAYS);
    if (file == INVALID_HANDLE_VALUE) {
        reservation.m_reason = fileErrorReason(path, windowsError(::GetLastError()), {});
        return reservation;
    }
    reservation.m_created = ::GetLastError() != ERROR_ALREADY_EXISTS;
    ::GetFileInformationByHandle(file, &hold->made);
    ::CloseHandle(file);
    reservation.m_hold = std::move(hold);
    reservation.m_outcome = Outcome::Held;
    return reservation;
}

// The name is held, not the file: the complete file renamed over the one
// held is held as it is, and is no longer the empty file the claim made.
void FileReservation::holdWritten() {
    if (held())
        m_created = false;
}

void FileReservation::removeIfStillMade() {
    const std::wstring name = wideName(m_path);
    const HANDLE file = openToLookAt(name, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return;
    BY_HANDLE_FILE_INFORMATION named{};
    const bool stillMade = ::GetFileInformationByHandle(file, &named) &&
                           sameFile(named, m_hold->made) && named.nFileSizeHigh == 0 &&
                           named.nFileSizeLow == 0;
    ::CloseHandle(file);
    if (stillMade)
        ::DeleteFileW(name.c_str());
}
