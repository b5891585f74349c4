#include "cli/CliTextOperations.h"

#include "cli/CliRequest.h"
#include "core/ShownText.h"
#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/CompareTexts.h"
#include "device/OperationHost.h"
#include "device/RestoreCopy.h"
#include "device/SendWithCopy.h"
#include "files/LocalFileName.h"
#include "files/RecordLayout.h"
#include "files/UnitCopies.h"

#include <QDateTime>
#include <QDir>

namespace {

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
                                 ShownText::quoted(difference.fileText),
                                 ShownText::quoted(difference.unitText));
    report.differs = !comparison.differing.isEmpty();
    return result;
}

OperationResult sendWithCopyOrOnlyDiffering(const CliRequest& request, Variabili& v,
                                            SerialExchange& exchange, OperationHost& host,
                                            CliReport& report) {
    const QDateTime now = QDateTime::currentDateTime();
    DifferingWriteOptions copy;
    copy.copyPath = request.copyFile;
    copy.copyComment = request.commentGiven ? request.comment : UnitCopies::comment(v, now);
    if (request.autoCopy) {
        const UnitCopies::NewCopy made = UnitCopies::newCopy(v.Identificativo, now);
        if (!made.problem.isEmpty()) {
            host.showOutcome(made.problem);
            return OperationResult::CannotStart;
        }
        copy.copyPath = made.path;
    }
    DifferingWriteSummary summary;
    const OperationResult result =
        sendWithCopy(v, exchange, host, copy, request.onlyDiffering, summary);
    if (summary.copySaved)
        report.lines += copyLine(copy.copyPath);
    return result;
}

OperationResult restoreForCli(const CliRequest& request, Variabili& v, SerialExchange& exchange,
                              OperationHost& host, CliReport& report) {
    QString chosen = request.file;
    if (chosen.isEmpty()) {
        const std::optional<UnitCopies::Copy> newest = UnitCopies::newestOf(v.Identificativo);
        if (!newest) {
            host.showOutcome(QStringLiteral("nessuna copia di %1 da rimettere in %2")
                                 .arg(Windows1252::decode(v.Identificativo),
                                      QDir::toNativeSeparators(UnitCopies::folder())));
            return OperationResult::CannotStart;
        }
        chosen = newest->path;
    }
    report.lines += QStringLiteral("copia da rimettere: %1").arg(LocalFileName::readable(chosen));
    RestoreSummary summary;
    const OperationResult result =
        restoreCopy(v, exchange, host, chosen, QDateTime::currentDateTime(), summary);
    if (!summary.freshCopy.isEmpty())
        report.lines += copyLine(summary.freshCopy);
    return result;
}

QStringList copyListLines(const CliRequest& request) {
    QStringList lines;
    for (const UnitCopies::Copy& copy : UnitCopies::list())
        if (!request.identifierGiven || copy.identifier == request.identifier)
            lines += QStringList{copy.taken.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
                                 Windows1252::decode(copy.identifier),
                                 Windows1252::decode(copy.port), LocalFileName::readable(copy.path)}
                         .join(QLatin1Char('\t'));
    return lines;
}
