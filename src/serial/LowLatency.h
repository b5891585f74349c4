#pragma once

#include "serial/PortHandle.h"

#include <QByteArray>
#include <QString>

// Asks a serial port to hand over received bytes at once: USB adapters batch
// them (an FTDI chip up to its latency timer, 16 ms by default), which with
// one short reply per exchange slows a whole run down. Sets ASYNC_LOW_LATENCY
// through TIOCSSERIAL and lowers the FTDI latency_timer in sysfs to 1 ms where
// it may be written, and puts back what was there. Ports that support neither
// (pseudo-terminals answer ENOTTY) are left as they are, without a word.
class LowLatency {
  public:
    explicit LowLatency(QString ttyClassFolder = QStringLiteral("/sys/class/tty"))
        : m_ttyClassFolder(std::move(ttyClassFolder)) {}

    // port is the open port, device its path (a link is followed). Each
    // apply() is followed by restore() before the port closes.
    void apply(PortHandle port, const QString& device);
    // Puts back what apply() changed; port may be -1 once it is gone.
    void restore(PortHandle port);
    // What the trace says of the latency of a serial port on this system;
    // empty where apply() takes care of it.
    static QString latencyNote();

  private:
    QString m_ttyClassFolder;
    QString m_latencyTimer;       // the sysfs file changed, empty if none
    QByteArray m_previousLatency; // its value before
    bool m_setLowLatencyFlag = false;
};
