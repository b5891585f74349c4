#include "core/SimulatedUnitFolder.h"

#include <QFileInfo>

#include <unistd.h>

namespace {

QString fallbackFolder() {
    return QStringLiteral("/tmp/tarvo-sim-%1").arg(::geteuid());
}

} // namespace

QString simulatedUnitFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime + QStringLiteral("/tarvo-sim");
    return fallbackFolder();
}

QStringList simulatedUnitFolders() {
    QStringList folders{simulatedUnitFolder(),
                        QStringLiteral("/run/user/%1/tarvo-sim").arg(::geteuid()),
                        fallbackFolder()};
    folders.removeDuplicates();
    return folders;
}
