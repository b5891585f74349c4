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
    : QObject(parent), fd_(fd), clock_(clock), alarm_(new PreciseAlarm(this)),
      writable_(new QSocketNotifier(fd, QSocketNotifier::Write, this)) {
    writable_->setEnabled(false);
    connect(writable_, &QSocketNotifier::activated, this, &ReplyLine::writeOutbox);
    connect(alarm_, &PreciseAlarm::rang, this, &ReplyLine::releaseDue);
}

void ReplyLine::send(const QByteArray& reply, qint64 startNs, qint64 byteNs) {
    if (fd_ < 0 || reply.isEmpty())
        return;
    const qint64 start = qMax(startNs, lastDueNs_);
    scheduled_.push_back({reply, start, byteNs});
    lastDueNs_ = scheduled_.back().dueNs(reply.size() - 1);
    releaseDue();
}

void ReplyLine::stop() {
    fd_ = -1;
    alarm_->cancel();
    if (writable_) {
        writable_->setEnabled(false);
        writable_->deleteLater();
        writable_ = nullptr;
    }
    scheduled_.clear();
    inFlight_.clear();
    held_.clear();
    outbox_.clear();
}

void ReplyLine::hold(char byte, qint64 dueNs) {
    if (held_.isEmpty())
        heldSinceNs_ = dueNs;
    held_.append(byte);
    if (latencyNs_ == 0 || held_.size() >= AdapterBufferBytes)
        outbox_.append(std::exchange(held_, {}));
}

qint64 ReplyLine::nextTickNs(qint64 ns) const {
    if (latencyNs_ == 0)
        return ns;
    return (ns + latencyNs_ - 1) / latencyNs_ * latencyNs_;
}

void ReplyLine::releaseDue() {
    const qint64 now = clock_.nsecsElapsed();
    while (!scheduled_.empty()) {
        Scheduled& next = scheduled_.front();
        while (next.released < next.bytes.size() && next.dueNs(next.released) <= now) {
            hold(next.bytes[next.released], next.dueNs(next.released));
            ++next.released;
        }
        queued_ = written_ + outbox_.size() + held_.size();
        if (next.released < next.bytes.size())
            break;
        inFlight_.push_back({queued_, next.bytes});
        scheduled_.pop_front();
    }
    if (!held_.isEmpty() && nextTickNs(heldSinceNs_) <= now)
        outbox_.append(std::exchange(held_, {}));
    qint64 wakeNs = -1;
    if (!scheduled_.empty()) {
        const Scheduled& next = scheduled_.front();
        wakeNs = next.dueNs(next.released);
    }
    if (!held_.isEmpty())
        wakeNs = wakeNs < 0 ? nextTickNs(heldSinceNs_) : qMin(wakeNs, nextTickNs(heldSinceNs_));
    if (wakeNs >= 0)
        alarm_->ringAt(PreciseAlarm::nowNs() + wakeNs - clock_.nsecsElapsed());
    writeOutbox();
}

void ReplyLine::writeOutbox() {
    while (fd_ >= 0 && !outbox_.isEmpty()) {
        const ssize_t count = ::write(fd_, outbox_.constData(), outbox_.size());
        if (count > 0) {
            outbox_.remove(0, count);
            written_ += count;
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else if (count < 0 && errno != EAGAIN) {
            qWarning("tarvo-sim: risposta non inviata: %s", std::strerror(errno));
            outbox_.clear();
            inFlight_.clear();
            written_ = queued_;
            break;
        } else {
            break;
        }
    }
    if (writable_)
        writable_->setEnabled(!outbox_.isEmpty());
    announceWritten();
}

void ReplyLine::announceWritten() {
    // A receiver may stop the line while it is told, so take each reply off
    // the list before telling.
    while (!inFlight_.empty() && inFlight_.front().endOffset <= written_) {
        const QByteArray reply = inFlight_.front().reply;
        inFlight_.pop_front();
        emit replySent(reply);
    }
}
