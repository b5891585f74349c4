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
    : QObject(parent), m_options(std::move(options)), m_protocol(m_memory) {
    m_clock.start();
}

SimulatedUnit::~SimulatedUnit() {
    vanish();
}

bool SimulatedUnit::start(QString* error) {
    if (m_started) {
        report(error, QStringLiteral("L'unità simulata è già stata avviata."));
        return false;
    }
    if (const QString problem = unitOptionsProblem(m_options); !problem.isEmpty()) {
        report(error, problem);
        return false;
    }
    QString why;
    if (!m_options.memoryFile.isEmpty() && !m_memory.load(m_options.memoryFile, &why)) {
        report(error, why);
        return false;
    }
    if (!m_pty.open(&why)) {
        report(error, why);
        return false;
    }
    if (m_options.publishLink && !m_link.create(m_pty.slavePath(), m_options.linkName, &why)) {
        m_pty.close();
        report(error, why);
        return false;
    }
    m_started = true;
    m_devicePath = m_pty.slavePath();
    m_readable = new QSocketNotifier(m_pty.master(), QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &SimulatedUnit::readMaster);
    m_replies = new ReplyLine(m_pty.master(), m_clock, this);
    connect(m_replies, &ReplyLine::replySent, this, &SimulatedUnit::replySent);
    return true;
}

bool SimulatedUnit::setOptions(const Options& options, QString* error) {
    if (const QString problem = unitOptionsProblem(options); !problem.isEmpty()) {
        report(error, problem);
        return false;
    }
    m_options = options;
    return true;
}

bool SimulatedUnit::saveMemory(const QString& path, QString* error) const {
    QString why;
    if (m_memory.save(path, &why))
        return true;
    report(error, why);
    return false;
}

void SimulatedUnit::vanish() {
    if (m_readable) {
        // This may run inside the notifier's own signal: let Qt delete it later.
        m_readable->setEnabled(false);
        m_readable->deleteLater();
        m_readable = nullptr;
    }
    if (m_replies)
        m_replies->stop();
    m_link.remove();
    m_pty.close();
}

void SimulatedUnit::readMaster() {
    if (!isRunning())
        return;
    char buffer[4096];
    const ssize_t count = ::read(m_pty.master(), buffer, sizeof buffer);
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (count <= 0) {
        // Cannot happen while the slave is held open here; stop listening
        // rather than be woken for the same condition over and over.
        qWarning("tarvo-sim: lettura dalla porta simulata fallita: %s",
                 count < 0 ? std::strerror(errno) : "fine del file");
        m_readable->setEnabled(false);
        return;
    }
    // Each byte comes back as it crosses the wire: on a paced line the
    // program hears the frame's first bytes before its last.
    if (m_options.echo)
        m_replies->send(QByteArray(buffer, count), m_clock.nsecsElapsed(), byteNs());
    for (ssize_t i = 0; i < count && isRunning(); ++i)
        take(buffer[i]);
}

void SimulatedUnit::take(char byte) {
    if (m_incoming.isEmpty() && !m_incomingOverflowed)
        m_frameStartNs = m_clock.nsecsElapsed();
    if (byte == '\r') {
        m_incoming.append(byte);
        frameComplete();
        return;
    }
    if (m_incoming.size() < m_options.identifier.size() + MaxFrameBody)
        m_incoming.append(byte);
    else
        m_incomingOverflowed = true;
}

void SimulatedUnit::frameComplete() {
    const QByteArray frame = std::exchange(m_incoming, {});
    m_incomingOverflowed = false;
    // On a real line the frame is in only once its last byte has crossed the
    // wire, and the wire carries one frame after the other.
    const qint64 wireEndNs = qMax(m_frameStartNs, m_lineFreeNs) + frame.size() * byteNs();
    m_lineFreeNs = wireEndNs;
    const qint64 receivedNs = qMax(m_clock.nsecsElapsed(), wireEndNs);

    const QByteArray reply = m_protocol.answer(frame, m_options);
    if (m_options.keepFrames)
        m_frames.append(frame);
    emit frameReceived(frame);
    if (isRunning() && !reply.isEmpty()) {
        m_replies->setAdapterLatency(m_options.adapterLatencyMs * NsPerMs);
        m_replies->send(reply, receivedNs + m_options.replyDelayMs * NsPerMs, byteNs());
    }
}

qint64 SimulatedUnit::byteNs() const {
    // Start bit, 8 data bits, stop bit.
    return m_options.baud > 0 ? 10'000'000'000LL / m_options.baud : 0;
}
