#include "core/PreciseAlarm.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace {
constexpr qint64 NsPerSecond = 1'000'000'000;
constexpr qint64 NsPerMs = 1'000'000;
} // namespace

PreciseAlarm::PreciseAlarm(QObject* parent) : QObject(parent) {
#ifdef Q_OS_LINUX
    m_fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &PreciseAlarm::expired);
        return;
    }
#endif
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &PreciseAlarm::rang);
}

PreciseAlarm::~PreciseAlarm() {
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        delete m_notifier;
        ::close(m_fd);
    }
#endif
}

qint64 PreciseAlarm::nowNs() {
    return QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs();
}

void PreciseAlarm::ringAt(qint64 monotonicNs) {
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        // A zero setting would disarm the timer; that instant has long passed.
        const qint64 at = qMax<qint64>(monotonicNs, 1);
        itimerspec setting{};
        setting.it_value.tv_sec = time_t(at / NsPerSecond);
        setting.it_value.tv_nsec = long(at % NsPerSecond);
        ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &setting, nullptr);
        return;
    }
#endif
    m_timer->start(int(qMax<qint64>(0, (monotonicNs - nowNs() + NsPerMs - 1) / NsPerMs)));
}

void PreciseAlarm::cancel() {
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        const itimerspec off{};
        ::timerfd_settime(m_fd, 0, &off, nullptr);
        return;
    }
#endif
    m_timer->stop();
}

void PreciseAlarm::expired() {
#ifdef Q_OS_LINUX
    std::uint64_t expirations = 0;
    if (::read(m_fd, &expirations, sizeof expirations) == sizeof expirations)
        emit rang();
#endif
}
