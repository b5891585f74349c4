#pragma once

#include <QString>

// Where tarvo-sim publishes its units' links and where the port list looks
// for them: $XDG_RUNTIME_DIR/tarvo-sim, else /tmp/tarvo-sim-<uid>.
QString simulatedUnitFolder();
