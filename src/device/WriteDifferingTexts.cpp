#include "device/WriteDifferingTexts.h"

#include "core/Variabili.h"
#include "device/FileTexts.h"
#include "device/ItalianCount.h"
#include "device/OperationHost.h"
#include "device/ProgrammingFile.h"
#include "device/UnitBackup.h"
#include "device/UnitTextEngine.h"
#include "files/LocalFileName.h"
#include "files/RecordLayout.h"
#include "files/UnitCopies.h"

namespace {

QString alreadyEqual(int count) {
    if (count == 0)
        return QStringLiteral("nessuno era già uguale");
    if (count == 1)
        return QStringLiteral("1 era già uguale");
    return QStringLiteral("%1 erano già uguali").arg(count);
}

// One run: reads the unit's texts, then writes and reads back the differing.
class DifferingWrite {
  public:
    DifferingWrite(Variabili& v, SerialExchange& exchange, OperationHost& host, const QString& path,
                   const DifferingWriteOptions& options, DifferingWriteSummary& summary)
        : m_engine(v, exchange, host), m_host(host), m_options(options), m_summary(summary),
          m_identifier(v.Identificativo), m_read(ProgrammingFile::read(path)),
          m_file(FileTexts::of(m_read)) {
        m_summary = {};
    }

    OperationOutcome run() {
        if (m_engine.accepts(m_read) && copyCanBeWritten() &&
            m_engine.open(QStringLiteral("%1: %2").arg(m_options.operation,
                                                       LocalFileName::readable(m_read.path))) &&
            readUnit() && writeDiffering() && readBackWritten())
            m_host.showOutcome(outcome());
        return m_engine.outcome();
    }

  private:
    bool wantsCopy() const {
        return !m_options.copyPath.isEmpty() || m_options.programCopyTaken.isValid();
    }

    // Where the copy goes is checked and held before the 512 texts are read
    // for it.
    bool copyCanBeWritten() {
        if (!wantsCopy())
            return true;
        m_copy = UnitBackup::claimTarget(m_options, m_identifier, m_read.path);
        if (m_copy.problem.isEmpty())
            return true;
        m_engine.cannotStart(m_copy.problem);
        return false;
    }

    QString outcome() const {
        const QString equal = alreadyEqual(m_summary.equal);
        if (m_summary.written == 0)
            return QStringLiteral("nessun testo diverso, nulla scritto: ") + equal;
        return (m_summary.written == 1 ? QStringLiteral("scritto ") : QStringLiteral("scritti ")) +
               counted(m_summary.written, QStringLiteral("testo"), QStringLiteral("testi")) +
               QStringLiteral(", ") + equal;
    }

    bool readUnit() {
        if (wantsCopy()) {
            if (!UnitBackup::readAll(m_engine, m_unit, &m_file) ||
                !UnitBackup::save(m_engine, m_copy.file, m_options.copyComment, m_unit))
                return false;
            m_summary.savedCopy = m_copy.file.path();
        } else if (!readFileAddresses()) {
            return false;
        }
        for (int address : m_file.addresses) {
            if (m_unit[size_t(address)] == m_file.text(address))
                ++m_summary.equal;
            else
                m_differing += m_file.records[size_t(address)];
        }
        return true;
    }

    bool readFileAddresses() {
        const int count = int(m_file.addresses.size());
        int differingSoFar = 0;
        const auto took = [&](int index, int address, const QByteArray& text) {
            m_unit[size_t(address)] = text;
            if (text != m_file.text(address))
                ++differingSoFar;
            // Each differing text is written and read back: their share so
            // far foretells how many more exchanges follow the reading.
            m_engine.expectLater(2 * (differingSoFar * count / (index + 1)));
            return m_file.comparisonNote(address, text, true);
        };
        return m_engine.readAddresses({RunProgress::Phase::Comparison, m_file.addresses}, took);
    }

    bool writeDiffering() {
        if (!m_differing.isEmpty())
            m_host.showOutcome(QStringLiteral("Programmo scritte"));
        return m_engine.writeRecords({m_differing, {}, [this](int index) {
                                          m_summary.written = index + 1;
                                          return QStringLiteral("scritto perché diverso");
                                      }});
    }

    bool readBackWritten() {
        QList<UnitTextEngine::Expected> written;
        for (const QByteArray& record : std::as_const(m_differing))
            written += {record.left(RecordLayout::addressDigits).toInt(),
                        record.mid(RecordLayout::addressDigits)};
        return m_engine.verify(written, QStringLiteral("rilettura del testo scritto"));
    }

    UnitTextEngine m_engine;
    OperationHost& m_host;
    const DifferingWriteOptions& m_options;
    DifferingWriteSummary& m_summary;
    // The unit the copy is named after.
    const QByteArray m_identifier;
    const ProgrammingFile m_read;
    const FileTexts m_file;
    UnitBackup::Texts m_unit;
    UnitBackup::Target m_copy;
    QList<QByteArray> m_differing;
};

} // namespace

OperationOutcome writeDifferingTexts(Variabili& v, SerialExchange& exchange, OperationHost& host,
                                     const QString& path, const DifferingWriteOptions& options,
                                     DifferingWriteSummary& summary) {
    return DifferingWrite(v, exchange, host, path, options, summary).run();
}

DifferingWriteOptions DifferingWriteOptions::programCopy(const Variabili& v,
                                                         const QDateTime& when) {
    DifferingWriteOptions options;
    options.programCopyTaken = when;
    options.copyComment = UnitCopies::comment(v, when);
    return options;
}
