#include "core/PreciseAlarm.h"

#include "core/MonotonicTimer.h"

#include <QDeadlineTimer>
#include <QTimer>

namespace {
constexpr qint64 NsPerMs = 1'000'000;
} // namespace

PreciseAlarm::PreciseAlarm(QObject* parent) : QObject(parent), m_system(MonotonicTimer::create()) {
    if (m_system) {
        connect(m_system.get(), &MonotonicTimer::rang, this, &PreciseAlarm::rang);
        return;
    }
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &PreciseAlarm::rang);
}

PreciseAlarm::~PreciseAlarm() = default;

qint64 PreciseAlarm::nowNs() {
    return QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs();
}

void PreciseAlarm::ringAt(qint64 monotonicNs) {
    if (m_system) {
        m_system->ringAt(monotonicNs);
        return;
    }
    m_timer->start(int(qMax<qint64>(0, (monotonicNs - nowNs() + NsPerMs - 1) / NsPerMs)));
}

void PreciseAlarm::cancel() {
    if (m_system) {
        m_system->disarm();
        return;
    }
    m_timer->stop();
}
