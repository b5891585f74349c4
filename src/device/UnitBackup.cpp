#include "device/UnitBackup.h"

#include "core/Variabili.h"
#include "device/OperationHost.h"
#include "device/UnitTextEngine.h"
#include "files/LocalFileName.h"
#include "files/SaveTarget.h"
#include "files/ScriviFileMessaggi.h"
#include "files/UnitCopies.h"
#include "files/WholeFileWriter.h"

namespace UnitBackup {

bool readAll(UnitTextEngine& engine, Texts& texts, const FileTexts* file) {
    // A copy that could not put the unit back is no copy: a text that a line
    // of the file cannot hold ends the reading.
    return engine.readEveryText(
        RunProgress::Phase::Backup, false, [&](int, int address, const QByteArray& text) {
            texts[size_t(address)] = text;
            const QString compared = file ? file->comparisonNote(address, text, true) : QString();
            return compared.isEmpty() ? QStringLiteral("copia")
                                      : QStringLiteral("copia; ") + compared;
        });
}

QString targetProblem(const QString& path, const QByteArray& comment,
                      const QString& programmedFile) {
    if (LocalFileName::sameFile(path, programmedFile))
        return QStringLiteral("Impossibile scrivere la copia %1: è il file da inviare, i cui "
                              "testi andrebbero persi")
            .arg(LocalFileName::readable(path));
    return saveTargetProblem(path, comment);
}

Target claimTarget(const DifferingWriteOptions& copy, const QByteArray& identifier,
                   const QString& programmedFile) {
    Target target;
    if (copy.programCopyTaken.isValid()) {
        UnitCopies::NewCopy made = UnitCopies::newCopy(identifier, copy.programCopyTaken);
        target.file = std::move(made.file);
        target.problem = made.problem;
        if (target.problem.isEmpty())
            target.problem = targetProblem(target.file.path(), copy.copyComment, programmedFile);
        return target;
    }
    target.problem = targetProblem(copy.copyPath, copy.copyComment, programmedFile);
    if (!target.problem.isEmpty())
        return target;
    target.file = FileReservation::claim(copy.copyPath);
    if (target.file.outcome() == FileReservation::Outcome::Busy)
        target.problem = QStringLiteral("Impossibile scrivere la copia %1: un'altra operazione in "
                                        "corso la sta già scrivendo")
                             .arg(LocalFileName::readable(copy.copyPath));
    else if (!target.file.held())
        target.problem = cannotWrite(copy.copyPath, target.file.reason());
    return target;
}

bool save(UnitTextEngine& engine, FileReservation& target, const QByteArray& comment,
          const Texts& texts) {
    QByteArray body;
    for (int address = 0; address < RecordLayout::addressCount; ++address)
        body += RecordLayout::fileLine(address, texts[size_t(address)]);
    const WriteOutcome written = ScriviFileMessaggi(target.path(), comment, body);
    if (!written.ok()) {
        engine.cannotStart(written.report(!target.created()));
        return false;
    }
    target.holdWritten();
    return true;
}

} // namespace UnitBackup

OperationOutcome takeUnitBackup(Variabili& v, SerialExchange& exchange, OperationHost& host,
                                FileReservation& target, const QByteArray& comment) {
    UnitTextEngine engine(v, exchange, host);
    UnitBackup::Texts texts;
    if (engine.open(QStringLiteral("Copia dei testi dell'unità: %1").arg(target.path())) &&
        UnitBackup::readAll(engine, texts) && UnitBackup::save(engine, target, comment, texts))
        host.showOutcome(QStringLiteral("copia salvata in %1").arg(target.path()));
    return engine.outcome();
}
