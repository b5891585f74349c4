#include "core/PreciseAlarm.h"

#include "core/MonotonicTimerFd.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>

namespace {
constexpr qint64 NsPerMs = 1'000'000;
} // namespace

PreciseAlarm::PreciseAlarm(QObject* parent) : QObject(parent) {
    m_fd = MonotonicTimerFd::create();
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &PreciseAlarm::expired);
        return;
    }
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &PreciseAlarm::rang);
}

PreciseAlarm::~PreciseAlarm() {
    if (m_fd >= 0) {
        delete m_notifier;
        MonotonicTimerFd::destroy(m_fd);
    }
}

qint64 PreciseAlarm::nowNs() {
    return QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs();
}

void PreciseAlarm::ringAt(qint64 monotonicNs) {
    if (m_fd >= 0) {
        MonotonicTimerFd::ringAt(m_fd, monotonicNs);
        return;
    }
    m_timer->start(int(qMax<qint64>(0, (monotonicNs - nowNs() + NsPerMs - 1) / NsPerMs)));
}

void PreciseAlarm::cancel() {
    if (m_fd >= 0) {
        MonotonicTimerFd::disarm(m_fd);
        return;
    }
    m_timer->stop();
}

void PreciseAlarm::expired() {
    if (MonotonicTimerFd::takeRing(m_fd))
        emit rang();
}
