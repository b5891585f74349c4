#include "core/MonotonicTimer.h"

#include <QSocketNotifier>

#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

constexpr qint64 NsPerSecond = 1'000'000'000;

// A timerfd, watched for reading: it reads as ready once it has rung.
class TimerFd final : public MonotonicTimer {
  public:
    explicit TimerFd(int fd) : m_fd(fd), m_notifier(fd, QSocketNotifier::Read) {
        connect(&m_notifier, &QSocketNotifier::activated, this, &TimerFd::takeRing);
    }
    ~TimerFd() override {
        m_notifier.setEnabled(false);
        ::close(m_fd);
    }

    void ringAt(qint64 monotonicNs) override {
        // A zero setting would disarm the timer; that instant has long passed.
        const qint64 at = qMax<qint64>(monotonicNs, 1);
        itimerspec setting{};
        setting.it_value.tv_sec = time_t(at / NsPerSecond);
        setting.it_value.tv_nsec = long(at % NsPerSecond);
        ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &setting, nullptr);
    }

    void disarm() override {
        const itimerspec off{};
        ::timerfd_settime(m_fd, 0, &off, nullptr);
    }

  private:
    void takeRing() {
        std::uint64_t expirations = 0;
        if (::read(m_fd, &expirations, sizeof expirations) == sizeof expirations)
            emit rang();
    }

    int m_fd;
    QSocketNotifier m_notifier;
};

} // namespace

std::unique_ptr<MonotonicTimer> MonotonicTimer::create() {
    const int fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::make_unique<TimerFd>(fd);
}
