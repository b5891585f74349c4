#include "core/EventWait.h"

#include "core/PreciseAlarm.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>

namespace EventWait {

namespace {

// One alarm for every wait: registering a new descriptor with the event loop
// for each wait would cost more wakeups than the wait itself.
PreciseAlarm& sharedAlarm() {
    static QPointer<PreciseAlarm> alarm;
    if (!alarm)
        alarm = new PreciseAlarm(QCoreApplication::instance());
    return *alarm;
}

} // namespace

void pumpOnce() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool until(const std::function<bool()>& done, QDeadlineTimer deadline) {
    if (done())
        return true;
    // The alarm only wakes the event loop at the deadline, to the microsecond;
    // the deadline itself decides. It is set again on every pass, since a
    // wait nested in this one may have set it to its own deadline.
    while (!deadline.hasExpired()) {
        if (!deadline.isForever())
            sharedAlarm().ringAt(deadline.deadlineNSecs());
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (done())
            return true;
    }
    return false;
}

} // namespace EventWait
