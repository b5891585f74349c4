#include "serial/LowLatency.h"

// Windows offers no program a say in how soon an adapter hands over its bytes:
// the adapter's own latency (set in its driver's properties) applies, and the
// trace says so.
void LowLatency::apply(PortHandle, const QString&) {}

void LowLatency::restore(PortHandle) {}

QString LowLatency::latencyNote() {
    return QStringLiteral("la latenza è quella propria dell'adattatore, impostata nel suo driver");
}
