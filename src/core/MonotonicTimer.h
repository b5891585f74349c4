#pragma once

#include <QObject>

#include <memory>

// A one-shot timer of the monotonic clock that QDeadlineTimer reads, that
// rings to well under a millisecond, watched by the event loop: a timerfd on
// Linux, a high-resolution waitable timer on Windows. It passes no
// descriptor or handle to its users.
class MonotonicTimer : public QObject {
    Q_OBJECT
  public:
    // A new timer; null where the system offers none.
    static std::unique_ptr<MonotonicTimer> create();

    // Rings once at monotonicNs, at once if that has passed; replaces any
    // earlier setting.
    virtual void ringAt(qint64 monotonicNs) = 0;
    virtual void disarm() = 0;

  signals:
    void rang();
};
