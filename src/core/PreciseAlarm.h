#pragma once

#include <QObject>

#include <memory>

class MonotonicTimer;
class QTimer;

// A one-shot alarm at an absolute time of the monotonic clock that
// QElapsedTimer and QDeadlineTimer read. Where the system has a precise timer
// the event loop can watch (MonotonicTimer) it rings to the microsecond.
// Qt's timers, and the glib loop beneath them, wait in whole
// milliseconds, which makes a 10 ms pause last up to 11 ms and a paced byte
// come up to a millisecond late. Elsewhere it falls back to a precise Qt timer.
class PreciseAlarm : public QObject {
    Q_OBJECT
  public:
    explicit PreciseAlarm(QObject* parent = nullptr);
    ~PreciseAlarm() override;

    static qint64 nowNs();

    // Rings once at monotonicNs, at once if that has passed; replaces any
    // earlier setting.
    void ringAt(qint64 monotonicNs);
    void cancel();

  signals:
    void rang();

  private:
    std::unique_ptr<MonotonicTimer> m_system;
    QTimer* m_timer = nullptr;
};
