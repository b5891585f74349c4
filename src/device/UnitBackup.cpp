#include "device/UnitBackup.h"

#include "core/Variabili.h"
#include "device/OperationHost.h"
#include "device/UnitTextSession.h"
#include "files/LocalFileName.h"
#include "files/SaveTarget.h"
#include "files/ScriviFileMessaggi.h"
#include "files/UnitCopies.h"
#include "files/WholeFileWriter.h"

namespace {

const QByteArray NotStorableError = "Testo del TARVO non salvabile.";

} // namespace

namespace UnitBackup {

bool readAll(UnitTextSession& session, Texts& texts, const FileTexts* file, int laterExchanges) {
    const int count = RecordLayout::addressCount;
    session.beginPhase(RunProgress::Phase::Backup, count);
    session.expectLater(laterExchanges);
    for (int address = 0; address < count; ++address) {
        const std::optional<QByteArray> text = session.read(address);
        if (!text)
            return false;
        // A copy that could not put the unit back is no copy.
        if (!RecordLayout::fitsOnALine(*text)) {
            session.fail(NotStorableError, RunFailure::Kind::TextNotStorable, {}, *text);
            return false;
        }
        texts[size_t(address)] = *text;
        const QString compared = file ? file->comparisonNote(address, *text, true) : QString();
        session.note(compared.isEmpty() ? QStringLiteral("copia")
                                        : QStringLiteral("copia; ") + compared);
    }
    return true;
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

bool save(UnitTextSession& session, FileReservation& target, const QByteArray& comment,
          const Texts& texts) {
    QByteArray body;
    for (int address = 0; address < RecordLayout::addressCount; ++address)
        body += RecordLayout::fileLine(address, texts[size_t(address)]);
    const WriteOutcome written = ScriviFileMessaggi(target.path(), comment, body);
    if (!written.ok()) {
        session.cannotStart(written.report(!target.created()));
        return false;
    }
    target.holdWritten();
    return true;
}

} // namespace UnitBackup

OperationResult takeUnitBackup(Variabili& v, SerialExchange& exchange, OperationHost& host,
                               FileReservation& target, const QByteArray& comment) {
    UnitTextSession session(v, exchange, host);
    UnitBackup::Texts texts;
    if (session.open(QStringLiteral("Copia dei testi dell'unità: %1").arg(target.path())) &&
        UnitBackup::readAll(session, texts) && UnitBackup::save(session, target, comment, texts))
        host.showOutcome(QStringLiteral("copia salvata in %1").arg(target.path()));
    return session.result();
}
