#include "cli/CliTextOperations.h"

#include "cli/CliRequest.h"
#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/CompareTexts.h"
#include "device/OperationHost.h"
#include "device/SendWithCopy.h"
#include "device/UnitBackup.h"
#include "files/LocalFileName.h"
#include "files/RecordLayout.h"

#include <QDateTime>

namespace {

QString quoted(const QByteArray& text) {
    return QStringLiteral("«%1»").arg(Windows1252::decode(text));
}

QString copyLine(const QString& path) {
    return QStringLiteral("copia salvata in %1").arg(LocalFileName::readable(path));
}

} // namespace

OperationResult compareForCli(Variabili& v, SerialExchange& exchange, OperationHost& host,
                              CliReport& report) {
    TextComparison comparison;
    const OperationResult result = CompareTexts(v, exchange, host, comparison);
    if (result != OperationResult::Succeeded)
        return result;
    for (const TextDifference& difference : std::as_const(comparison.differing))
        report.lines += QStringLiteral("%1 file %2 unità %3")
                            .arg(QString::fromLatin1(RecordLayout::addressText(difference.address)),
                                 quoted(difference.fileText), quoted(difference.unitText));
    report.differs = !comparison.differing.isEmpty();
    return result;
}

OperationResult sendWithCopyOrOnlyDiffering(const CliRequest& request, Variabili& v,
                                            SerialExchange& exchange, OperationHost& host,
                                            CliReport& report) {
    DifferingWriteOptions copy;
    copy.copyPath = request.copyFile;
    copy.copyComment = request.commentGiven ? request.comment
                                            : UnitBackup::comment(v, QDateTime::currentDateTime());
    DifferingWriteSummary summary;
    const OperationResult result =
        sendWithCopy(v, exchange, host, copy, request.onlyDiffering, summary);
    if (summary.copySaved)
        report.lines += copyLine(copy.copyPath);
    return result;
}
