#include "serial/PortQueue.h"

#include <windows.h>

namespace PortQueue {

bool mayHoldInput(PortHandle port) {
    DWORD errors = 0;
    COMSTAT state{};
    return !::ClearCommError(port, &errors, &state) || state.cbInQue > 0;
}

// Windows reports every byte received (EV_RXCHAR); the serial control counts
// them against the threshold itself.
void readyAfter(PortHandle, qint64) {}

} // namespace PortQueue
