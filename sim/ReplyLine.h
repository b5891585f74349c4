#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>

#include <deque>

class PreciseAlarm;
class QSocketNotifier;

// Sends the unit's replies on the master side of the pseudo-terminal. Each
// byte goes out at its own time on the unit's clock, taken from an absolute
// schedule so that timer lateness never adds up, and to the microsecond, so
// that a paced line takes its wire time and no more; bytes the descriptor
// cannot take yet wait until it can.
class ReplyLine : public QObject {
    Q_OBJECT
  public:
    ReplyLine(int fd, const QElapsedTimer& clock, QObject* parent = nullptr);

    // Queues a reply. Byte k is due at startNs + (k + 1) * byteNs on the
    // clock, all of them at startNs when byteNs is 0; a reply never starts
    // before the previous one has ended.
    void send(const QByteArray& reply, qint64 startNs, qint64 byteNs);
    // Holds due bytes as a USB serial adapter does: they go out together when
    // the adapter's timer next ticks (every latencyNs on the clock) or once
    // its buffer is full. 0: each byte goes out when it is due.
    void setAdapterLatency(qint64 latencyNs) { m_latencyNs = latencyNs; }
    // Drops whatever is still to be sent and lets go of the descriptor.
    void stop();

  signals:
    // The whole reply has been handed to the pseudo-terminal.
    void replySent(const QByteArray& reply);

  private:
    struct Scheduled {
        QByteArray bytes;
        qint64 startNs;
        qint64 byteNs;
        qsizetype released = 0;

        qint64 dueNs(qsizetype index) const { return startNs + (index + 1) * byteNs; }
    };
    struct Sent {
        qint64 endOffset;
        QByteArray reply;
    };

    void releaseDue();
    void hold(char byte, qint64 dueNs);
    qint64 nextTickNs(qint64 ns) const;
    void writeOutbox();
    void announceWritten();

    int m_fd;
    const QElapsedTimer& m_clock;
    PreciseAlarm* m_alarm;
    QSocketNotifier* m_writable;
    std::deque<Scheduled> m_scheduled;
    std::deque<Sent> m_inFlight;
    QByteArray m_held;
    qint64 m_heldSinceNs = 0;
    qint64 m_latencyNs = 0;
    QByteArray m_outbox;
    qint64 m_lastDueNs = 0;
    qint64 m_queued = 0;
    qint64 m_written = 0;
};
