#include "core/MonotonicTimerFd.h"

#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {
constexpr qint64 NsPerSecond = 1'000'000'000;
} // namespace

namespace MonotonicTimerFd {

int create() {
    return ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
}

void ringAt(int fd, qint64 monotonicNs) {
    // A zero setting would disarm the timer; that instant has long passed.
    const qint64 at = qMax<qint64>(monotonicNs, 1);
    itimerspec setting{};
    setting.it_value.tv_sec = time_t(at / NsPerSecond);
    setting.it_value.tv_nsec = long(at % NsPerSecond);
    ::timerfd_settime(fd, TFD_TIMER_ABSTIME, &setting, nullptr);
}

void disarm(int fd) {
    const itimerspec off{};
    ::timerfd_settime(fd, 0, &off, nullptr);
}

bool takeRing(int fd) {
    std::uint64_t expirations = 0;
    return ::read(fd, &expirations, sizeof expirations) == sizeof expirations;
}

void destroy(int fd) {
    ::close(fd);
}

} // namespace MonotonicTimerFd
