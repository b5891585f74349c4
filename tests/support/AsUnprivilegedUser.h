#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs work in a child process that, when this one runs as root, first becomes
// the unprivileged user nobody (65534), so that file and device permissions
// hold as they do for an ordinary user. Returns what work returned, or nullopt
// when the child could not drop its privileges or did not finish.
inline std::optional<QByteArray> runAsUnprivilegedUser(const std::function<QByteArray()>& work) {
    constexpr gid_t nobody = 65534;
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
            (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0))
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
