#include "core/SimulatedUnitFolder.h"

#include <QFileInfo>

#include <unistd.h>

QString simulatedUnitFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime + QStringLiteral("/tarvo-sim");
    return QStringLiteral("/tmp/tarvo-sim-%1").arg(::geteuid());
}
