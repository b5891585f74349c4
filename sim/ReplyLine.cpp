#include "ReplyLine.h"

#include <QSocketNotifier>
#include <QtDebug>

#include <cerrno>
#include <cstring>
#include <unistd.h>

ReplyLine::ReplyLine(int fd, const QElapsedTimer& clock, QObject* parent)
    : QObject(parent), fd_(fd), clock_(clock),
      writable_(new QSocketNotifier(fd, QSocketNotifier::Write, this)) {
    writable_->setEnabled(false);
    connect(writable_, &QSocketNotifier::activated, this, &ReplyLine::writeOutbox);
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ReplyLine::releaseDue);
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
    timer_.stop();
    if (writable_) {
        writable_->setEnabled(false);
        writable_->deleteLater();
        writable_ = nullptr;
    }
    scheduled_.clear();
    inFlight_.clear();
    outbox_.clear();
}

void ReplyLine::releaseDue() {
    const qint64 now = clock_.nsecsElapsed();
    while (!scheduled_.empty()) {
        Scheduled& next = scheduled_.front();
        while (next.released < next.bytes.size() && next.dueNs(next.released) <= now)
            outbox_.append(next.bytes[next.released++]);
        queued_ = written_ + outbox_.size();
        if (next.released < next.bytes.size())
            break;
        inFlight_.push_back({queued_, next.bytes});
        scheduled_.pop_front();
    }
    if (!scheduled_.empty()) {
        const Scheduled& next = scheduled_.front();
        const qint64 waitNs = next.dueNs(next.released) - now;
        timer_.start(static_cast<int>((waitNs + 999'999) / 1'000'000));
    }
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
