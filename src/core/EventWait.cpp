#include "core/EventWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace EventWait {

void pumpOnce() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool until(const std::function<bool()>& done, QDeadlineTimer deadline) {
    if (done())
        return true;
    // The timer only wakes the event loop at the deadline; the deadline itself
    // decides. It is armed again whenever it has fired early.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (!deadline.hasExpired()) {
        if (!deadline.isForever() && !wake.isActive()) {
            const qint64 ns = deadline.remainingTimeNSecs();
            wake.start(std::chrono::milliseconds((ns + 999'999) / 1'000'000));
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (done())
            return true;
    }
    return false;
}

} // namespace EventWait
