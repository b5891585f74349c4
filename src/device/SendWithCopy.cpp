#include "device/SendWithCopy.h"

#include "core/Variabili.h"
#include "device/OperationHost.h"
#include "device/ProgrammaTesti.h"
#include "device/ProgrammingFile.h"
#include "device/UnitBackup.h"
#include "files/LocalFileName.h"

OperationResult sendWithCopy(Variabili& v, SerialExchange& exchange, OperationHost& host,
                             const DifferingWriteOptions& copy, bool onlyDiffering,
                             DifferingWriteSummary& summary) {
    if (onlyDiffering)
        return writeDifferingTexts(v, exchange, host, copy, summary);
    summary = {};
    const ProgrammingFile file = ProgrammingFile::read(LocalFileName::decode(v.FileSelezionato));
    if (!file.problem.isEmpty()) {
        host.showOutcome(file.problem);
        return OperationResult::CannotStart;
    }
    UnitBackup::Target target = UnitBackup::claimTarget(copy, v.Identificativo, file.path);
    if (!target.problem.isEmpty()) {
        host.showOutcome(target.problem);
        return OperationResult::CannotStart;
    }
    const OperationResult copied = takeUnitBackup(v, exchange, host, target.file, copy.copyComment);
    if (copied != OperationResult::Succeeded)
        return copied;
    summary.savedCopy = target.file.path();
    return programFile(v, exchange, host, file);
}
