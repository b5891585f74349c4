#include "core/EventWait.h"

#include "core/PreciseAlarm.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace EventWait {

void pumpOnce() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool until(const std::function<bool()>& done, QDeadlineTimer deadline) {
    if (done())
        return true;
    // The alarm only wakes the event loop at the deadline, to the microsecond;
    // the deadline itself decides.
    PreciseAlarm wake;
    if (!deadline.isForever())
        wake.ringAt(deadline.deadlineNSecs());
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (done())
            return true;
    }
    return false;
}

} // namespace EventWait
