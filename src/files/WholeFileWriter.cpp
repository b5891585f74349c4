#include "WholeFileWriter.h"

#include "DiskFile.h"
#include "FileErrorReason.h"
#include "LocalFileName.h"

#include <QSaveFile>

#include <cerrno>

QString cannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("Impossibile scrivere il file %1: %2")
        .arg(LocalFileName::readable(path), reason);
}

namespace {

QString reason(const QString& path, int errnoCode, const QString& systemText = {}) {
    const LocalFileName::Status status = LocalFileName::status(path);
    if (status.exists && !status.isDir && !status.writable)
        return QStringLiteral("il file è di sola lettura");
    return fileErrorReason(path, errnoCode, systemText);
}

// Writes the whole content, then waits for the disk; errno tells why not.
bool writeAll(QFileDevice& file, const QByteArray& content) {
    errno = 0;
    return file.write(content) == content.size() && DiskFile::syncToDisk(file);
}

// The folder refuses a new file (no write permission) while the file that
// stands there may be written: the one case where the file is rewritten in place.
bool onlyInPlace(const QString& path, int errnoCode) {
    const LocalFileName::Status status = LocalFileName::status(path);
    return (errnoCode == EACCES || errnoCode == EPERM) && status.isFile && status.writable;
}

WriteOutcome writeInPlace(const QString& path, const QByteArray& content) {
    QFile file;
    errno = 0;
    if (!LocalFileName::open(file, path, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {cannotWrite(path, reason(path, errno)), false};
    if (!writeAll(file, content))
        return {cannotWrite(path, reason(path, errno)), true};
    file.close();
    return {QString(), true};
}

// What QSaveFile does, for a name it cannot hold (not valid UTF-8): a
// temporary file beside the target, written whole and synced, then renamed
// over it.
WriteOutcome writeThroughTemporary(const QString& path, const QByteArray& content) {
    QFile file;
    QByteArray temporary;
    errno = 0;
    if (!DiskFile::createBeside(path, file, temporary)) {
        const int code = errno;
        if (onlyInPlace(path, code))
            return writeInPlace(path, content);
        return {cannotWrite(path, reason(path, code))};
    }
    bool done = DiskFile::takePermissionsOf(file, path) && writeAll(file, content);
    int code = errno;
    file.close();
    if (done && !DiskFile::moveOver(temporary, path)) {
        done = false;
        code = errno;
    }
    if (!done) {
        DiskFile::remove(temporary);
        return {cannotWrite(path, reason(path, code))};
    }
    return {};
}

} // namespace

QString WriteOutcome::report(bool existedBefore) const {
    if (writtenInPlace)
        return error + QStringLiteral(". Il file potrebbe essere incompleto: salvalo di nuovo, "
                                      "anche con un altro nome o in un'altra cartella, prima di "
                                      "usarlo.");
    if (existedBefore)
        return error + QStringLiteral(". Il file che c'era è rimasto com'era.");
    return error + QStringLiteral(".");
}

WriteOutcome writeWholeFile(const QString& path, const QByteArray& content) {
    if (!LocalFileName::qtCanName(path))
        return writeThroughTemporary(path, content);
    // Unbuffered, so that a failed or short write shows here, before commit():
    // QSaveFile commits even when flushing its buffer failed, which would put a
    // truncated file in place of the old one.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int code = errno;
        if (onlyInPlace(path, code))
            return writeInPlace(path, content);
        return {cannotWrite(path, reason(path, code, file.errorString()))};
    }
    if (!writeAll(file, content)) {
        const int code = errno;
        const QString error = cannotWrite(path, reason(path, code, file.errorString()));
        file.cancelWriting();
        return {error};
    }
    errno = 0;
    if (!file.commit())
        return {cannotWrite(path, reason(path, errno, file.errorString()))};
    return {};
}
