#include "device/WriteDifferingTexts.h"

#include "core/Variabili.h"
#include "device/FileTexts.h"
#include "device/OperationHost.h"
#include "device/UnitBackup.h"
#include "device/UnitTextSession.h"
#include "files/LocalFileName.h"
#include "files/RecordLayout.h"

namespace {

// One run: reads the unit's texts, then writes and reads back the differing.
class DifferingWrite {
  public:
    DifferingWrite(Variabili& v, SerialExchange& exchange, OperationHost& host,
                   const DifferingWriteOptions& options, DifferingWriteSummary& summary)
        : m_session(v, exchange, host), m_host(host), m_options(options), m_summary(summary) {
        m_summary = {};
        m_fileName = LocalFileName::decode(v.FileSelezionato);
    }

    OperationResult run() {
        if (m_session.readFile(m_fileName, m_file) &&
            m_session.open(QStringLiteral("Invia solo i testi diversi: %1").arg(m_fileName)) &&
            readUnit() && writeDiffering() && readBackWritten())
            m_host.showOutcome(
                m_summary.written == 0
                    ? QStringLiteral("nessun testo diverso, nulla scritto: %1 erano già uguali")
                          .arg(m_summary.equal)
                    : QStringLiteral("scritti %1 testi, %2 erano già uguali")
                          .arg(m_summary.written)
                          .arg(m_summary.equal));
        return m_session.result();
    }

  private:
    bool readUnit() {
        if (!m_options.copyPath.isEmpty()) {
            if (!UnitBackup::readAll(m_session, m_unit, &m_file) ||
                !UnitBackup::save(m_session, m_options.copyPath, m_options.copyComment, m_unit))
                return false;
            m_summary.copySaved = true;
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
        for (int index = 0; index < count; ++index) {
            const int address = m_file.addresses[index];
            const std::optional<QByteArray> text = m_session.read(address);
            if (!text)
                return false;
            m_unit[size_t(address)] = *text;
            m_session.note(m_file.comparisonNote(address, *text, true));
            if (*text != m_file.text(address))
                ++differingSoFar;
            // Each differing text is written and read back: their share so
            // far foretells how many more exchanges follow the reading.
            const int done = index + 1;
            const int projectedDiffering = differingSoFar * count / done;
            m_session.reportProgress(RunProgress::Phase::Comparison, address, done, count,
                                     count - done + 2 * projectedDiffering);
        }
        return true;
    }

    bool writeDiffering() {
        const int count = int(m_differing.size());
        if (count > 0)
            m_host.showOutcome(QStringLiteral("Programmo scritte"));
        for (int index = 0; index < count; ++index) {
            const QByteArray& record = m_differing[index];
            if (!m_session.write(record))
                return false;
            m_session.note(QStringLiteral("scritto perché diverso"));
            m_summary.written = index + 1;
            m_session.reportProgress(RunProgress::Phase::Writing,
                                     record.left(RecordLayout::addressDigits).toInt(), index + 1,
                                     count, 2 * count - index - 1);
        }
        return true;
    }

    bool readBackWritten() {
        const int count = int(m_differing.size());
        for (int index = 0; index < count; ++index) {
            const QByteArray& record = m_differing[index];
            if (!m_session.readBack(record))
                return false;
            m_session.note(QStringLiteral("rilettura del testo scritto"));
            m_session.reportProgress(RunProgress::Phase::Verifying,
                                     record.left(RecordLayout::addressDigits).toInt(), index + 1,
                                     count, count - index - 1);
        }
        return true;
    }

    UnitTextSession m_session;
    OperationHost& m_host;
    const DifferingWriteOptions& m_options;
    DifferingWriteSummary& m_summary;
    QString m_fileName;
    FileTexts m_file;
    UnitBackup::Texts m_unit;
    QList<QByteArray> m_differing;
};

} // namespace

OperationResult writeDifferingTexts(Variabili& v, SerialExchange& exchange, OperationHost& host,
                                    const DifferingWriteOptions& options,
                                    DifferingWriteSummary& summary) {
    return DifferingWrite(v, exchange, host, options, summary).run();
}
