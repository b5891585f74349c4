#include "core/SimulatedUnitFolder.h"

#include <QStandardPaths>

// tarvo-sim runs only where there are pseudo-terminals; on Windows the folder
// is the user's own temporary one, which no unit publishes in.
QString simulatedUnitFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::TempLocation) +
           QStringLiteral("/tarvo-sim");
}

QStringList simulatedUnitFolders() {
    return {simulatedUnitFolder()};
}
