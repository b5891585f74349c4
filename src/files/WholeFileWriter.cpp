#include "WholeFileWriter.h"

#include "FileErrorReason.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

QString cannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("Impossibile scrivere il file %1: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

namespace {

QString reason(const QFileDevice& file, int errnoCode) {
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isDir() && !info.isWritable())
        return QStringLiteral("il file è di sola lettura");
    return fileErrorReason(file.fileName(), errnoCode, file.errorString());
}

// Waits until the data is on the disk, where a full disk may show only now.
bool onDisk(QFileDevice& file) {
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return file.flush();
#endif
}

// Writes the whole content, then waits for the disk; errno tells why not.
bool writeAll(QFileDevice& file, const QByteArray& content) {
    errno = 0;
    return file.write(content) == content.size() && onDisk(file);
}

// The folder refuses a new file (no write permission) while the file that
// stands there may be written: the one case where the file is rewritten in place.
bool onlyInPlace(const QString& path, int errnoCode) {
    const QFileInfo info(path);
    return (errnoCode == EACCES || errnoCode == EPERM) && info.isFile() && info.isWritable();
}

WriteOutcome writeInPlace(const QString& path, const QByteArray& content) {
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return {cannotWrite(path, reason(file, errno)), false};
    if (!writeAll(file, content))
        return {cannotWrite(path, reason(file, errno)), true};
    file.close();
    return {QString(), true};
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
    // Unbuffered, so that a failed or short write shows here, before commit():
    // QSaveFile commits even when flushing its buffer failed, which would put a
    // truncated file in place of the old one.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int code = errno;
        if (onlyInPlace(path, code))
            return writeInPlace(path, content);
        return {cannotWrite(path, reason(file, code))};
    }
    if (!writeAll(file, content)) {
        const int code = errno;
        const QString error = cannotWrite(path, reason(file, code));
        file.cancelWriting();
        return {error};
    }
    errno = 0;
    if (!file.commit())
        return {cannotWrite(path, reason(file, errno))};
    return {};
}
