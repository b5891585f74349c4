#include "SimulatedUnit.h"

#include "ReplyLine.h"

#include <QSocketNotifier>
#include <QtDebug>

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace {

// No frame of the unit is longer than its identifier and 26 bytes; input that
// runs on without a CR is kept only up to this many bytes beyond the
// identifier, so a stream of noise cannot eat the memory. What is kept still
// cannot pass for a valid frame.
constexpr qsizetype MaxFrameBody = 4096;

constexpr qint64 NsPerMs = 1'000'000;

void report(QString* error, const QString& text) {
    if (error)
        *error = text;
}

} // namespace

SimulatedUnit::SimulatedUnit(Options options, QObject* parent)
    : QObject(parent), options_(std::move(options)), protocol_(memory_) {
    clock_.start();
}

SimulatedUnit::~SimulatedUnit() {
    vanish();
}

bool SimulatedUnit::start(QString* error) {
    if (started_) {
        report(error, QStringLiteral("L'unità simulata è già stata avviata."));
        return false;
    }
    if (const QString problem = unitOptionsProblem(options_); !problem.isEmpty()) {
        report(error, problem);
        return false;
    }
    QString why;
    if (!options_.memoryFile.isEmpty() && !memory_.load(options_.memoryFile, &why)) {
        report(error, why);
        return false;
    }
    if (!pty_.open(&why)) {
        report(error, why);
        return false;
    }
    if (options_.publishLink && !link_.create(pty_.slavePath(), options_.linkName, &why)) {
        pty_.close();
        report(error, why);
        return false;
    }
    started_ = true;
    devicePath_ = pty_.slavePath();
    readable_ = new QSocketNotifier(pty_.master(), QSocketNotifier::Read, this);
    connect(readable_, &QSocketNotifier::activated, this, &SimulatedUnit::readMaster);
    replies_ = new ReplyLine(pty_.master(), clock_, this);
    connect(replies_, &ReplyLine::replySent, this, &SimulatedUnit::replySent);
    return true;
}

bool SimulatedUnit::setOptions(const Options& options, QString* error) {
    if (const QString problem = unitOptionsProblem(options); !problem.isEmpty()) {
        report(error, problem);
        return false;
    }
    options_ = options;
    return true;
}

bool SimulatedUnit::saveMemory(const QString& path, QString* error) const {
    QString why;
    if (memory_.save(path, &why))
        return true;
    report(error, why);
    return false;
}

void SimulatedUnit::vanish() {
    if (readable_) {
        // This may run inside the notifier's own signal: let Qt delete it later.
        readable_->setEnabled(false);
        readable_->deleteLater();
        readable_ = nullptr;
    }
    if (replies_)
        replies_->stop();
    link_.remove();
    pty_.close();
}

void SimulatedUnit::readMaster() {
    if (!isRunning())
        return;
    char buffer[4096];
    const ssize_t count = ::read(pty_.master(), buffer, sizeof buffer);
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (count <= 0) {
        // Cannot happen while the slave is held open here; stop listening
        // rather than be woken for the same condition over and over.
        qWarning("tarvo-sim: lettura dalla porta simulata fallita: %s",
                 count < 0 ? std::strerror(errno) : "fine del file");
        readable_->setEnabled(false);
        return;
    }
    for (ssize_t i = 0; i < count && isRunning(); ++i)
        take(buffer[i]);
}

void SimulatedUnit::take(char byte) {
    if (incoming_.isEmpty() && !incomingOverflowed_)
        frameStartNs_ = clock_.nsecsElapsed();
    if (byte == '\r') {
        incoming_.append(byte);
        frameComplete();
        return;
    }
    if (incoming_.size() < options_.identifier.size() + MaxFrameBody)
        incoming_.append(byte);
    else
        incomingOverflowed_ = true;
}

void SimulatedUnit::frameComplete() {
    const QByteArray frame = std::exchange(incoming_, {});
    incomingOverflowed_ = false;
    // On a real line the frame is in only once its last byte has crossed the
    // wire, and the wire carries one frame after the other.
    const qint64 wireEndNs = qMax(frameStartNs_, lineFreeNs_) + frame.size() * byteNs();
    lineFreeNs_ = wireEndNs;
    const qint64 receivedNs = qMax(clock_.nsecsElapsed(), wireEndNs);

    const QByteArray reply = protocol_.answer(frame, options_);
    if (options_.keepFrames)
        frames_.append(frame);
    emit frameReceived(frame);
    if (isRunning() && !reply.isEmpty()) {
        replies_->setAdapterLatency(options_.adapterLatencyMs * NsPerMs);
        replies_->send(reply, receivedNs + options_.replyDelayMs * NsPerMs, byteNs());
    }
}

qint64 SimulatedUnit::byteNs() const {
    // Start bit, 8 data bits, stop bit.
    return options_.baud > 0 ? 10'000'000'000LL / options_.baud : 0;
}
