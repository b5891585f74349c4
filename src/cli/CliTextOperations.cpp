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
#include <QRegularExpression>

namespace {

QString copyLine(const QString& path) {
    return QStringLiteral("copia salvata in %1").arg(LocalFileName::readable(path));
}

// A word as a POSIX shell takes it back unchanged.
QString shellWord(const QString& word) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:=+-]+$"));
    if (plain.match(word).hasMatch())
        return word;
    return QLatin1Char('\'') + QString(word).replace(QLatin1Char('\''), QStringLiteral("'\\''")) +
           QLatin1Char('\'');
}

// The command that puts the copy back again, with the port, the identifier
// and the line's echo of the run that failed.
QString retryCommand(const CliRequest& request, const QString& copy) {
    QStringList words{QStringLiteral("tarvo-cli"), QStringLiteral("--porta"),
                      shellWord(Windows1252::decode(request.port)), QStringLiteral("--id"),
                      shellWord(Windows1252::decode(request.identifier))};
    if (request.lineEchoes)
        words += QStringLiteral("--eco");
    words += {QStringLiteral("ripristina"), shellWord(LocalFileName::readable(copy))};
    if (request.anotherUnit)
        words += QStringLiteral("--anche-altra-unita");
    return words.join(QLatin1Char(' '));
}

} // namespace

OperationOutcome compareForCli(const CliRequest& request, Variabili& v, SerialExchange& exchange,
                               OperationHost& host, CliReport& report) {
    TextComparison comparison;
    const OperationOutcome outcome = CompareTexts(v, exchange, host, request.file, comparison);
    if (!outcome.done())
        return outcome;
    for (const TextDifference& difference : std::as_const(comparison.differing))
        report.lines += QStringLiteral("%1 file %2 unità %3")
                            .arg(QString::fromLatin1(RecordLayout::addressText(difference.address)),
                                 ShownText::quoted(difference.fileText),
                                 ShownText::quoted(difference.unitText));
    report.differs = !comparison.differing.isEmpty();
    return outcome;
}

OperationOutcome sendWithCopyOrOnlyDiffering(const CliRequest& request, Variabili& v,
                                             SerialExchange& exchange, OperationHost& host,
                                             CliReport& report) {
    DifferingWriteOptions copy =
        DifferingWriteOptions::programCopy(v, QDateTime::currentDateTime());
    if (!request.autoCopy)
        copy.programCopyTaken = {};
    copy.copyPath = request.copyFile;
    if (request.commentGiven)
        copy.copyComment = request.comment;
    DifferingWriteSummary summary;
    const OperationOutcome outcome =
        sendWithCopy(v, exchange, host, request.file, copy, request.onlyDiffering, summary);
    if (!summary.savedCopy.isEmpty())
        report.lines += copyLine(summary.savedCopy);
    return outcome;
}

OperationOutcome restoreForCli(const CliRequest& request, Variabili& v, SerialExchange& exchange,
                               OperationHost& host, CliReport& report) {
    const OperationOutcome refused{OperationOutcome::Ending::CannotStart, {}, {}, {}};
    const std::optional<QString> toRestore = copyToRestore(request.file, v.Identificativo);
    if (!toRestore) {
        host.showOutcome(QStringLiteral("nessuna copia di %1 da rimettere in %2")
                             .arg(Windows1252::decode(v.Identificativo),
                                  QDir::toNativeSeparators(UnitCopies::folder())));
        return refused;
    }
    const QString& chosen = *toRestore;
    report.lines += QStringLiteral("copia da rimettere: %1").arg(LocalFileName::readable(chosen));
    const QByteArray copyOf = anotherUnitOf(chosen, v.Identificativo);
    if (!copyOf.isEmpty() && !request.anotherUnit) {
        host.showOutcome(
            QStringLiteral("la copia è dell'unità %1, non di %2: nulla è stato "
                           "scritto. Per rimetterla in %2 aggiungi "
                           "--anche-altra-unita")
                .arg(Windows1252::decode(copyOf), Windows1252::decode(v.Identificativo)));
        return refused;
    }
    RestoreSummary summary;
    const OperationOutcome outcome =
        restoreCopy(v, exchange, host, chosen, QDateTime::currentDateTime(), summary);
    if (!summary.freshCopy.isEmpty())
        report.lines += copyLine(summary.freshCopy);
    if (!outcome.done()) {
        // The fresh copy is now the identifier's newest: a ripristina without
        // a name would put back what was to be replaced.
        report.retry = QStringLiteral("La copia da rimettere era %1: per riprovare, %2")
                           .arg(LocalFileName::readable(chosen), retryCommand(request, chosen));
        if (!summary.freshCopy.isEmpty())
            report.retry += QStringLiteral(" (senza nome, ripristina prenderebbe la copia appena "
                                           "fatta, %1)")
                                .arg(LocalFileName::readable(summary.freshCopy));
    }
    return outcome;
}

QString withRetry(QString failure, const CliReport& report) {
    if (report.retry.isEmpty())
        return failure;
    if (!failure.endsWith(QLatin1Char('.')))
        failure += QLatin1Char('.');
    return failure + QLatin1Char(' ') + report.retry + QLatin1Char('.');
}

QString noCopiesLine(const CliRequest& request) {
    const QString folder = QDir::toNativeSeparators(UnitCopies::folder());
    if (request.identifierGiven)
        return QStringLiteral("nessuna copia di %1 in %2")
            .arg(Windows1252::decode(request.identifier), folder);
    return QStringLiteral("nessuna copia in %1").arg(folder);
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
