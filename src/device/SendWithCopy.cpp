#include "device/SendWithCopy.h"

#include "core/Variabili.h"
#include "device/OperationHost.h"
#include "device/ProgrammaTesti.h"
#include "device/ProgrammingFile.h"
#include "device/UnitBackup.h"

OperationOutcome sendWithCopy(Variabili& v, SerialExchange& exchange, OperationHost& host,
                              const QString& path, const DifferingWriteOptions& copy,
                              bool onlyDiffering, DifferingWriteSummary& summary) {
    if (onlyDiffering)
        return writeDifferingTexts(v, exchange, host, path, copy, summary);
    summary = {};
    OperationOutcome refused{OperationOutcome::Ending::CannotStart, {}, {}, {}};
    const ProgrammingFile file = ProgrammingFile::read(path);
    if (!file.problem.isEmpty()) {
        host.showOutcome(file.problem);
        return refused;
    }
    UnitBackup::Target target = UnitBackup::claimTarget(copy, v.Identificativo, file.path);
    if (!target.problem.isEmpty()) {
        host.showOutcome(target.problem);
        return refused;
    }
    const OperationOutcome copied =
        takeUnitBackup(v, exchange, host, target.file, copy.copyComment);
    if (!copied.done())
        return copied;
    summary.savedCopy = target.file.path();
    OperationOutcome programmed = programFile(v, exchange, host, file);
    // Stopped before its first frame, the run stood where the copy ended.
    if (!programmed.lastExchanged)
        programmed.lastExchanged = copied.lastExchanged;
    return programmed;
}
