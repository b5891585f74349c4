#pragma once

#include <QString>
#include <QStringList>

// Where tarvo-sim publishes its units' links and where the port list looks
// for them: $XDG_RUNTIME_DIR/tarvo-sim, else /tmp/tarvo-sim-<uid>.
QString simulatedUnitFolder();

// Every folder where a unit of this user may be published, whatever runtime
// folder this program was given: the one above, the user's runtime folder
// as the system makes it (/run/user/<uid>) and the /tmp fallback, that a unit
// started without XDG_RUNTIME_DIR (under sudo, over ssh) uses.
QStringList simulatedUnitFolders();
