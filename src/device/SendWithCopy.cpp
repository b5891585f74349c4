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
    QString problem = file.problem;
    if (problem.isEmpty())
        problem = UnitBackup::targetProblem(copy.copyPath, copy.copyComment, file.path);
    if (!problem.isEmpty()) {
        host.showOutcome(problem);
        return OperationResult::CannotStart;
    }
    const OperationResult copied =
        takeUnitBackup(v, exchange, host, copy.copyPath, copy.copyComment);
    if (copied != OperationResult::Succeeded)
        return copied;
    summary.copySaved = true;
    return programFile(v, exchange, host, file);
}
