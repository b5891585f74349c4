#include "ReplyLine.h"

#include "core/PreciseAlarm.h"

#include <QSocketNotifier>
#include <QtDebug>

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace {
// What an FTDI adapter sends in one USB packet besides its two status bytes.
constexpr qsizetype AdapterBufferBytes = 62;
} // namespace

ReplyLine::ReplyLine(int fd, const QElapsedTimer& clock, QObject* parent)
    : QObject(parent), m_fd(fd), m_clock(clock), m_alarm(new PreciseAlarm(this)),
      m_writable(new QSocketNotifier(fd, QSocketNotifier::Write, this)) {
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, &ReplyLine::writeOutbox);
    connect(m_alarm, &PreciseAlarm::rang, this, &ReplyLine::releaseDue);
}

void ReplyLine::send(const QByteArray& reply, qint64 startNs, qint64 byteNs) {
    if (m_fd < 0 || reply.isEmpty())
        return;
    const qint64 start = qMax(startNs, m_lastDueNs);
    m_scheduled.push_back({reply, start, byteNs});
    m_lastDueNs = m_scheduled.back().dueNs(reply.size() - 1);
    releaseDue();
}

void ReplyLine::stop() {
    m_fd = -1;
    m_alarm->cancel();
    if (m_writable) {
        m_writable->setEnabled(false);
        m_writable->deleteLater();
        m_writable = nullptr;
    }
    m_scheduled.clear();
    m_inFlight.clear();
    m_held.clear();
    m_outbox.clear();
}

void ReplyLine::hold(char byte, qint64 dueNs) {
    if (m_held.isEmpty())
        m_heldSinceNs = dueNs;
    m_held.append(byte);
    if (m_latencyNs == 0 || m_held.size() >= AdapterBufferBytes)
        m_outbox.append(std::exchange(m_held, {}));
}

qint64 ReplyLine::nextTickNs(qint64 ns) const {
    if (m_latencyNs == 0)
        return ns;
    return (ns + m_latencyNs - 1) / m_latencyNs * m_latencyNs;
}

void ReplyLine::releaseDue() {
    const qint64 now = m_clock.nsecsElapsed();
    while (!m_scheduled.empty()) {
        Scheduled& next = m_scheduled.front();
        while (next.released < next.bytes.size() && next.dueNs(next.released) <= now) {
            hold(next.bytes[next.released], next.dueNs(next.released));
            ++next.released;
        }
        m_queued = m_written + m_outbox.size() + m_held.size();
        if (next.released < next.bytes.size())
            break;
        m_inFlight.push_back({m_queued, next.bytes});
        m_scheduled.pop_front();
    }
    if (!m_held.isEmpty() && nextTickNs(m_heldSinceNs) <= now)
        m_outbox.append(std::exchange(m_held, {}));
    qint64 wakeNs = -1;
    if (!m_scheduled.empty()) {
        const Scheduled& next = m_scheduled.front();
        wakeNs = next.dueNs(next.released);
    }
    if (!m_held.isEmpty())
        wakeNs = wakeNs < 0 ? nextTickNs(m_heldSinceNs) : qMin(wakeNs, nextTickNs(m_heldSinceNs));
    if (wakeNs >= 0)
        m_alarm->ringAt(PreciseAlarm::nowNs() + wakeNs - m_clock.nsecsElapsed());
    writeOutbox();
}

void ReplyLine::writeOutbox() {
    while (m_fd >= 0 && !m_outbox.isEmpty()) {
        const ssize_t count = ::write(m_fd, m_outbox.constData(), m_outbox.size());
        if (count > 0) {
            m_outbox.remove(0, count);
            m_written += count;
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else if (count < 0 && errno != EAGAIN) {
            qWarning("tarvo-sim: risposta non inviata: %s", std::strerror(errno));
            m_outbox.clear();
            m_inFlight.clear();
            m_written = m_queued;
            break;
        } else {
            break;
        }
    }
    if (m_writable)
        m_writable->setEnabled(!m_outbox.isEmpty());
    announceWritten();
}

void ReplyLine::announceWritten() {
    // A receiver may stop the line while it is told, so take each reply off
    // the list before telling.
    while (!m_inFlight.empty() && m_inFlight.front().endOffset <= m_written) {
        const QByteArray reply = m_inFlight.front().reply;
        m_inFlight.pop_front();
        emit replySent(reply);
    }
}
