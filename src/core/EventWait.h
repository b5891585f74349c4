#pragma once

#include <QDeadlineTimer>

#include <functional>

// Every wait of the program: runs the events of all windows and of the serial
// port on this thread until a condition holds or a deadline passes. Between
// events it sleeps in the event loop, so an idle wait costs no CPU.
namespace EventWait {

// Runs the events that are pending now, once, without waiting for more.
void pumpOnce();

// Runs events until done() holds or the deadline has passed. The deadline is
// tested before each round of events and done() after it. Returns done().
bool until(const std::function<bool()>& done, QDeadlineTimer deadline = QDeadlineTimer::Forever);

} // namespace EventWait
