#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs work in a child process that, when this one runs as root, first becomes
// the given user with the given group and no supplementary groups, so that
// file and device permissions hold as they do for that user. Returns what work
// returned, or nullopt when the child could not change identity or did not
// finish.
inline std::optional<QByteArray> runAsUser(uid_t uid, gid_t gid,
                                           const std::function<QByteArray()>& work) {
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
            ::_exit(2);
        const QByteArray result = work();
        qsizetype sent = 0;
        while (sent < result.size()) {
            const ssize_t n = ::write(channel[1], result.constData() + sent, result.size() - sent);
            if (n <= 0)
                ::_exit(3);
            sent += n;
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray result;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return result;
}

// The same as the unprivileged user nobody (65534).
inline std::optional<QByteArray> runAsUnprivilegedUser(const std::function<QByteArray()>& work) {
    constexpr uid_t nobody = 65534;
    return runAsUser(nobody, nobody, work);
}
