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
    // is what decides.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    if (!deadline.isForever())
        wake.start(std::chrono::milliseconds(deadline.remainingTime() + 1));
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (done())
            return true;
    }
    return false;
}

} // namespace EventWait
