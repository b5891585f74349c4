#pragma once

#include <QtGlobal>

// A one-shot timer of the monotonic clock that QDeadlineTimer reads, that
// rings to the microsecond on a descriptor the event loop can watch.
namespace MonotonicTimerFd {

// A new timer's descriptor, -1 where the system offers none.
int create();
// Rings once at monotonicNs, at once if that has passed; replaces any earlier setting.
void ringAt(int fd, qint64 monotonicNs);
void disarm(int fd);
// Whether the timer has rung since it was last asked; clears the ring.
bool takeRing(int fd);
void destroy(int fd);

} // namespace MonotonicTimerFd
