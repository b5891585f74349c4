#include "WholeFileWriter.h"

#include "DiskFile.h"
#include "FileErrorReason.h"
#include "LocalFileName.h"

#include <QSaveFile>

QString cannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("Impossibile scrivere il file %1: %2")
        .arg(LocalFileName::readable(path), reason);
}

namespace {

QString reason(const QString& path, const SystemError& error, const QString& systemText = {}) {
    const LocalFileName::Status status = LocalFileName::status(path);
    if (status.exists && !status.isDir && !status.writable)
        return QStringLiteral("il file è di sola lettura");
    return fileErrorReason(path, error, systemText);
}

// Writes the whole content, then waits for the disk; false, with why, when not.
bool writeAll(QFileDevice& file, const QByteArray& content, SystemError& why) {
    clearLastSystemError();
    if (file.write(content) != content.size()) {
        why = lastSystemError();
        return false;
    }
    why = DiskFile::syncToDisk(file);
    return !why.failed();
}

// The folder refuses a new file (no write permission) while the file that
// stands there may be written: the one case where the file is rewritten in place.
bool onlyInPlace(const QString& path, const SystemError& error) {
    const LocalFileName::Status status = LocalFileName::status(path);
    return error.kind == SystemError::Kind::Denied && status.isFile && status.writable;
}

WriteOutcome writeInPlace(const QString& path, const QByteArray& content) {
    QFile file;
    if (const SystemError error =
            LocalFileName::open(file, path, QIODevice::WriteOnly | QIODevice::Unbuffered);
        error.failed())
        return {cannotWrite(path, reason(path, error)), false};
    if (SystemError why; !writeAll(file, content, why))
        return {cannotWrite(path, reason(path, why)), true};
    file.close();
    return {QString(), true};
}

// What QSaveFile does, for a name it cannot hold (not valid UTF-8): a
// temporary file beside the target, written whole and synced, then renamed
// over it.
WriteOutcome writeThroughTemporary(const QString& path, const QByteArray& content) {
    QFile file;
    QByteArray temporary;
    if (const SystemError error = DiskFile::createBeside(path, file, temporary); error.failed()) {
        if (onlyInPlace(path, error))
            return writeInPlace(path, content);
        return {cannotWrite(path, reason(path, error))};
    }
    SystemError why = DiskFile::takePermissionsOf(file, path);
    bool done = !why.failed() && writeAll(file, content, why);
    file.close();
    if (done) {
        why = DiskFile::moveOver(temporary, path);
        done = !why.failed();
    }
    if (!done) {
        DiskFile::remove(temporary);
        return {cannotWrite(path, reason(path, why))};
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
    // Refused before any file is made: on Windows "com5.tvo" is a serial port.
    if (const QString reserved = LocalFileName::reservedNameProblem(path); !reserved.isEmpty())
        return {reserved};
    if (!LocalFileName::qtCanName(path))
        return writeThroughTemporary(path, content);
    // Unbuffered, so that a failed or short write shows here, before commit():
    // QSaveFile commits even when flushing its buffer failed, which would put a
    // truncated file in place of the old one.
    QSaveFile file(path);
    clearLastSystemError();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const SystemError error = lastSystemError();
        if (onlyInPlace(path, error))
            return writeInPlace(path, content);
        return {cannotWrite(path, reason(path, error, file.errorString()))};
    }
    if (SystemError why; !writeAll(file, content, why)) {
        const QString error = cannotWrite(path, reason(path, why, file.errorString()));
        file.cancelWriting();
        return {error};
    }
    clearLastSystemError();
    if (!file.commit())
        return {cannotWrite(path, reason(path, lastSystemError(), file.errorString()))};
    return {};
}
