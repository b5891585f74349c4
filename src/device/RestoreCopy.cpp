#include "device/RestoreCopy.h"

#include "files/UnitCopies.h"

std::optional<QString> copyToRestore(const QString& named, const QByteArray& identifier) {
    if (!named.isEmpty())
        return named;
    if (const std::optional<UnitCopies::Copy> newest = UnitCopies::newestOf(identifier))
        return newest->path;
    return std::nullopt;
}

QByteArray anotherUnitOf(const QString& copyPath, const QByteArray& identifier) {
    const QByteArray copyOf = UnitCopies::identifierOf(copyPath);
    return copyOf == identifier ? QByteArray() : copyOf;
}

OperationOutcome restoreCopy(Variabili& v, SerialExchange& exchange, OperationHost& host,
                             const QString& copyPath, const QDateTime& when,
                             RestoreSummary& summary) {
    summary = {};
    DifferingWriteOptions options = DifferingWriteOptions::programCopy(v, when);
    options.operation = QStringLiteral("Rimetti nell'unità");
    const OperationOutcome outcome =
        writeDifferingTexts(v, exchange, host, copyPath, options, summary.texts);
    summary.freshCopy = summary.texts.savedCopy;
    return outcome;
}
