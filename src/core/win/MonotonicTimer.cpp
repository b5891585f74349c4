#include "core/MonotonicTimer.h"

#include <QDeadlineTimer>
#include <QWinEventNotifier>

#include <windows.h>

#include <timeapi.h>

namespace {

constexpr qint64 NsPer100Ns = 100;

// A synchronization waitable timer (its wait resets it), watched by the event loop as an event.
// Created high- resolution where Windows has that (10, 1803 and later): it keeps well under a
// millisecond instead of the 15.6 ms system tick. Elsewhere the system tick is raised to 1 ms for
// the program's life (timeBeginPeriod; Windows drops the request when the process ends).
class WaitableTimer final : public MonotonicTimer {
  public:
    explicit WaitableTimer(HANDLE timer) : m_timer(timer), m_notifier(timer) {
        connect(&m_notifier, &QWinEventNotifier::activated, this, &WaitableTimer::rang);
    }
    ~WaitableTimer() override {
        m_notifier.setEnabled(false);
        ::CancelWaitableTimer(m_timer);
        ::CloseHandle(m_timer);
    }

    void ringAt(qint64 monotonicNs) override {
        // QDeadlineTimer reads QueryPerformanceCounter, which the waitable
        // timer does not take as an absolute time: the wait is set relative
        // (negative), at least one unit, so that a past instant rings at once.
        const qint64 left = monotonicNs - QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs();
        LARGE_INTEGER due;
        due.QuadPart = -qMax<qint64>(1, left / NsPer100Ns);
        ::SetWaitableTimer(m_timer, &due, 0, nullptr, nullptr, FALSE);
    }

    void disarm() override { ::CancelWaitableTimer(m_timer); }

  private:
    HANDLE m_timer;
    QWinEventNotifier m_notifier;
};

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

} // namespace

std::unique_ptr<MonotonicTimer> MonotonicTimer::create() {
    HANDLE timer = ::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                            TIMER_ALL_ACCESS);
    if (!timer) {
        static const bool tickRaised = ::timeBeginPeriod(1) == TIMERR_NOERROR;
        Q_UNUSED(tickRaised);
        timer = ::CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    }
    if (!timer)
        return nullptr;
    return std::make_unique<WaitableTimer>(timer);
}
