#include "serial/SimulatedUnits.h"

// tarvo-sim runs where there are pseudo-terminals; a Windows program reaches
// it through a COM port that Wine links to its terminal, which the port list
// shows as any other.
QList<PortEntry> simulatedUnits() {
    return {};
}
