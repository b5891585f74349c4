#pragma once

#include "serial/PortHandle.h"

// The system's queue of bytes received on an open serial port.
namespace PortQueue {

// Whether the queue holds bytes; also true when the system cannot say.
bool mayHoldInput(PortHandle port);
// Asks the system to report the port ready for reading only once that many
// bytes wait (1 to 255; a count outside is brought within).
void readyAfter(PortHandle port, qint64 bytes);

} // namespace PortQueue
