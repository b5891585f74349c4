#include "serial/PortQueue.h"

#include <sys/ioctl.h>
#include <termios.h>

namespace PortQueue {

bool mayHoldInput(PortHandle port) {
    int queued = 0;
    return ::ioctl(port, TIOCINQ, &queued) != 0 || queued > 0;
}

void readyAfter(PortHandle port, qint64 bytes) {
    termios line{};
    if (::tcgetattr(port, &line) != 0)
        return;
    // VMIN without VTIME: the port reads as ready only once that many bytes
    // wait (1: at the first one). Never 0, which this port reads as 1 too but
    // which ends a blocking read elsewhere at once: another reader of the
    // device (cat) would take it for the end of its input and quit.
    line.c_cc[VMIN] = cc_t(qBound(qint64(1), bytes, qint64(255)));
    line.c_cc[VTIME] = 0;
    ::tcsetattr(port, TCSANOW, &line);
}

} // namespace PortQueue
