#include "serial/PortPermission.h"
#include "serial/posix/PortObstacles.h"

#include "core/posix/ErrnoError.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString userName(uid_t uid) {
    const passwd* entry = ::getpwuid(uid);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(uid);
}

QString groupName(gid_t gid) {
    const group* entry = ::getgrgid(gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(gid);
}

// "rw-rw----"
QString modeText(mode_t mode) {
    const char letters[] = "rwxrwxrwx";
    QString text;
    for (int bit = 0; bit < 9; ++bit)
        text += (mode & (0400 >> bit)) ? QLatin1Char(letters[bit]) : QLatin1Char('-');
    return text;
}

// The groups of this process, now.
bool processInGroup(gid_t gid) {
    if (::getegid() == gid)
        return true;
    const int count = ::getgroups(0, nullptr);
    QList<gid_t> groups(qMax(count, 0));
    if (count > 0 && ::getgroups(count, groups.data()) < 0)
        return false;
    return groups.contains(gid);
}

// The groups the user belongs to by the system's user database: what a new
// login would give.
bool userInGroup(uid_t uid, gid_t gid) {
    const passwd* entry = ::getpwuid(uid);
    if (!entry)
        return false;
    const QByteArray name(entry->pw_name);
    int count = 64;
    QList<gid_t> groups(count);
    while (::getgrouplist(name.constData(), entry->pw_gid, groups.data(), &count) < 0)
        groups.resize(count);
    groups.resize(count);
    return groups.contains(gid);
}

} // namespace

PermissionFinding permissionFinding(const QString& device) {
    const QByteArray path = QFile::encodeName(device);
    if (::faccessat(AT_FDCWD, path.constData(), R_OK | W_OK, AT_EACCESS) == 0 || errno != EACCES)
        return {};
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return {};
    const uid_t uid = ::geteuid();
    PermissionFinding finding{PermissionFinding::Kind::None, userName(info.st_uid),
                              modeText(info.st_mode), userName(uid), groupName(info.st_gid)};
    const bool groupGrants =
        info.st_gid != 0 && (info.st_mode & S_IRGRP) && (info.st_mode & S_IWGRP);
    if (!groupGrants)
        finding.kind = PermissionFinding::Kind::NoGroupGrants;
    else if (processInGroup(info.st_gid))
        finding.kind = PermissionFinding::Kind::RefusedDespiteGroup;
    else if (userInGroup(uid, info.st_gid))
        finding.kind = PermissionFinding::Kind::JoinedAfterLogin;
    else
        finding.kind = PermissionFinding::Kind::NotInGroup;
    return finding;
}

QString blockingFolder(const QString& device) {
    QString path = device;
    // A bound on the links followed, as the system has one (ELOOP).
    for (int hop = 0; hop < 40; ++hop) {
        const QStringList parts = path.split('/', Qt::SkipEmptyParts);
        QString reached;
        QString relinked;
        for (int index = 0; index < parts.size() && relinked.isEmpty(); ++index) {
            const QString folder = reached.isEmpty() ? QStringLiteral("/") : reached;
            if (::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), X_OK, AT_EACCESS) !=
                    0 &&
                errno == EACCES)
                return folder;
            reached += '/' + parts[index];
            const QString target = QFile::symLinkTarget(reached);
            struct stat info {};
            if (::lstat(QFile::encodeName(reached).constData(), &info) == 0 &&
                S_ISLNK(info.st_mode) && !target.isEmpty())
                relinked = QStringList{target, parts.mid(index + 1).join('/')}.join('/');
        }
        if (relinked.isEmpty())
            return {};
        path = relinked;
    }
    return {};
}

SystemError openingError(const QString& device) {
    const int fd =
        ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errnoError(errno);
    ::close(fd);
    return {};
}
