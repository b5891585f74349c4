#include "device/RestoreCopy.h"

#include "core/Variabili.h"
#include "files/LocalFileName.h"
#include "files/UnitCopies.h"

#include <utility>

OperationResult restoreCopy(Variabili& v, SerialExchange& exchange, OperationHost& host,
                            const QString& copyPath, const QDateTime& when,
                            RestoreSummary& summary) {
    summary = {};
    DifferingWriteOptions options;
    options.programCopyTaken = when;
    options.copyComment = UnitCopies::comment(v, when);
    options.operation = QStringLiteral("Rimetti nell'unità");
    const QByteArray picked = std::exchange(v.FileSelezionato, LocalFileName::encode(copyPath));
    const OperationResult result = writeDifferingTexts(v, exchange, host, options, summary.texts);
    v.FileSelezionato = picked;
    summary.freshCopy = summary.texts.savedCopy;
    return result;
}
