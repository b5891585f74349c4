#include "device/RestoreCopy.h"

#include "core/Variabili.h"
#include "device/OperationHost.h"
#include "files/LocalFileName.h"
#include "files/UnitCopies.h"

#include <utility>

OperationResult restoreCopy(Variabili& v, SerialExchange& exchange, OperationHost& host,
                            const QString& copyPath, const QDateTime& when,
                            RestoreSummary& summary) {
    summary = {};
    const UnitCopies::NewCopy fresh = UnitCopies::newCopy(v.Identificativo, when);
    if (!fresh.problem.isEmpty()) {
        host.showOutcome(fresh.problem);
        return OperationResult::CannotStart;
    }
    DifferingWriteOptions options;
    options.copyPath = fresh.path;
    options.copyComment = UnitCopies::comment(v, when);
    options.operation = QStringLiteral("Rimetti nell'unità");
    const QByteArray picked = std::exchange(v.FileSelezionato, LocalFileName::encode(copyPath));
    const OperationResult result = writeDifferingTexts(v, exchange, host, options, summary.texts);
    v.FileSelezionato = picked;
    if (summary.texts.copySaved)
        summary.freshCopy = fresh.path;
    return result;
}
