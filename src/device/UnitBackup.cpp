#include "device/UnitBackup.h"

#include "core/Variabili.h"
#include "device/OperationHost.h"
#include "device/UnitTextSession.h"
#include "files/LocalFileName.h"
#include "files/SaveTarget.h"
#include "files/ScriviFileMessaggi.h"

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

bool save(UnitTextSession& session, const QString& path, const QByteArray& comment,
          const Texts& texts) {
    QByteArray body;
    for (int address = 0; address < RecordLayout::addressCount; ++address)
        body += RecordLayout::addressText(address) + texts[size_t(address)] + "*\r\n";
    const bool existed = LocalFileName::status(path).isFile;
    const WriteOutcome written = ScriviFileMessaggi(path, comment, body);
    if (!written.ok()) {
        session.cannotStart(written.report(existed));
        return false;
    }
    return true;
}

} // namespace UnitBackup

OperationResult takeUnitBackup(Variabili& v, SerialExchange& exchange, OperationHost& host,
                               const QString& path, const QByteArray& comment) {
    UnitTextSession session(v, exchange, host);
    UnitBackup::Texts texts;
    if (session.open(QStringLiteral("Copia dei testi dell'unità: %1").arg(path)) &&
        UnitBackup::readAll(session, texts) && UnitBackup::save(session, path, comment, texts))
        host.showOutcome(QStringLiteral("copia salvata in %1").arg(path));
    return session.result();
}
