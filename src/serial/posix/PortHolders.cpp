#include "serial/PortHolders.h"
#include "serial/posix/PortObstacles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// Where serial lock files (LCK..name, the owner's pid on the first line) are
// kept by QSerialPort and by the uucp-style tools.
const char* const lockFolders[] = {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
                                   "/tmp",      "/var/tmp",   "/run/lock"};

// Pseudo-terminal slaves have the majors 136 to 143.
constexpr unsigned firstPtsMajor = 136;
constexpr unsigned lastPtsMajor = 143;

QString processName(qint64 pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

bool alive(qint64 pid) {
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

// "/dev/ttyUSB0" -> "LCK..ttyUSB0", "/dev/pts/3" -> "LCK..pts_3".
QString lockName(QString path) {
    if (path.startsWith(QStringLiteral("/dev/")))
        path.remove(0, 5);
    return QStringLiteral("LCK..") + path.replace('/', '_');
}

QSet<qint64> lockOwners(const QStringList& paths) {
    QSet<qint64> owners;
    for (const char* folder : lockFolders) {
        for (const QString& path : paths) {
            QFile lock(QString::fromLatin1(folder) + '/' + lockName(path));
            if (!lock.open(QIODevice::ReadOnly))
                continue;
            bool ok = false;
            const qint64 pid = QString::fromLatin1(lock.readLine()).trimmed().toLongLong(&ok);
            if (ok && alive(pid))
                owners.insert(pid);
        }
    }
    return owners;
}

// The pseudo-terminal index of a master descriptor, -1 for any other.
int masterIndex(const QString& fdInfoPath) {
    QFile info(fdInfoPath);
    if (!info.open(QIODevice::ReadOnly))
        return -1;
    // Files under /proc report no size: read them whole, never up to atEnd().
    for (const QByteArray& line : info.readAll().split('\n'))
        if (line.startsWith("tty-index:"))
            return line.mid(10).trimmed().toInt();
    return -1;
}

qint64 parentOf(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("PPid:"))
            return line.mid(5).trimmed().toLongLong();
    return 0;
}

// This program and the ones that started it (a shell, sudo, runuser, a
// terminal): they may name or hold the port for it, never against it.
QSet<qint64> selfAndAncestors() {
    QSet<qint64> lineage;
    for (qint64 pid = ::getpid(); pid > 0 && !lineage.contains(pid); pid = parentOf(pid))
        lineage.insert(pid);
    return lineage;
}

struct Scan {
    QSet<qint64> holders;   // a descriptor on the device
    QSet<qint64> otherEnds; // the master of the same pseudo-terminal
};

// Where a descriptor leads, read from its link: unlike stat(), this never
// waits on the file itself (a hung network mount, for one).
QByteArray target(const QString& fdPath) {
    char buffer[4096];
    const ssize_t size = ::readlink(QFile::encodeName(fdPath).constData(), buffer, sizeof buffer);
    return size > 0 ? QByteArray(buffer, size) : QByteArray();
}

Scan scanDescriptors(const QByteArray& device, int ptsIndex) {
    Scan scan;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& name : pids) {
        bool isPid = false;
        const qint64 pid = name.toLongLong(&isPid);
        if (!isPid)
            continue;
        const QString fdFolder = QStringLiteral("/proc/%1/fd").arg(pid);
        // Unreadable for other users' processes: those are left to the lock files.
        for (const QString& fd : QDir(fdFolder).entryList(QDir::System | QDir::Files)) {
            const QByteArray path = target(fdFolder + '/' + fd);
            if (path == device)
                scan.holders.insert(pid);
            else if (ptsIndex >= 0 && (path == "/dev/ptmx" || path == "/dev/pts/ptmx") &&
                     masterIndex(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid).arg(fd)) == ptsIndex)
                scan.otherEnds.insert(pid);
        }
    }
    return scan;
}

} // namespace

QList<PortHolder> portHolders(const QString& device) {
    const QString canonical = QFileInfo(device).canonicalFilePath();
    struct stat info {};
    if (canonical.isEmpty() || ::stat(QFile::encodeName(canonical).constData(), &info) != 0 ||
        !S_ISCHR(info.st_mode))
        return {};
    const unsigned major = ::major(info.st_rdev);
    const int ptsIndex = major >= firstPtsMajor && major <= lastPtsMajor
                             ? int((major - firstPtsMajor) * 256 + ::minor(info.st_rdev))
                             : -1;
    Scan scan = scanDescriptors(QFile::encodeName(canonical), ptsIndex);
    scan.holders.subtract(scan.otherEnds);
    // A lock file's owner opened the port as a program does, whatever else it holds.
    scan.holders.unite(lockOwners({device, canonical}));
    scan.holders.subtract(selfAndAncestors());
    QList<qint64> pids(scan.holders.cbegin(), scan.holders.cend());
    std::sort(pids.begin(), pids.end());
    QList<PortHolder> holders;
    for (const qint64 pid : pids)
        holders += PortHolder{pid, processName(pid)};
    return holders;
}

QList<PortHolder> likelyHolders(const QString& device) {
    const QString canonical = QFileInfo(device).canonicalFilePath();
    if (canonical.isEmpty())
        return {};
    const QByteArrayList names{QFile::encodeName(device), QFile::encodeName(canonical)};
    const QSet<qint64> lineage = selfAndAncestors();
    QList<PortHolder> holders;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : pids) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || lineage.contains(pid) ||
            QFileInfo(QStringLiteral("/proc/%1/fd").arg(pid)).isReadable())
            continue;
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!commandLine.open(QIODevice::ReadOnly))
            continue;
        const QByteArrayList arguments = commandLine.readAll().split('\0');
        if (std::any_of(names.begin(), names.end(),
                        [&](const QByteArray& name) { return arguments.contains(name); }))
            holders += PortHolder{pid, processName(pid)};
    }
    return holders;
}

bool processRunning(const QString& name) {
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : pids) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (isPid && processName(pid) == name)
            return true;
    }
    return false;
}
