#include "device/ProgrammaTesti.h"

#include "core/Variabili.h"
#include "device/OperationHost.h"
#include "device/ProgrammingFile.h"
#include "device/UnitTextSession.h"
#include "files/LocalFileName.h"

#include <array>

namespace {

// One programming run: writes the file's records, then reads them back.
class Programming {
  public:
    Programming(Variabili& v, SerialExchange& exchange, OperationHost& host,
                const ProgrammingFile& file)
        : m_v(v), m_session(v, exchange, host), m_host(host), m_file(file) {}

    OperationResult run() {
        // A file that cannot be read, holds no message or does not fit the
        // message table is refused before the port opens: nothing of it
        // reaches the unit.
        if (!m_session.accepts(m_file) ||
            !m_session.open(QStringLiteral("Invia file al TARVO: %1")
                                .arg(LocalFileName::readable(m_file.path))))
            return m_session.result();
        m_host.showOutcome(QStringLiteral("Programmo scritte"));
        if (writeAll() && verifyAll())
            m_host.showOutcome(QStringLiteral("DATI UGUALI  TUTTO OK "));
        return m_session.result();
    }

  private:
    // Phase 1: every record of the file is stored and written in file order.
    bool writeAll() {
        const int count = int(m_file.records.size());
        m_session.beginPhase(RunProgress::Phase::Writing, count);
        // Every record written is read back once more.
        m_session.expectLater(count);
        for (int index = 0; index < count; ++index) {
            m_v.Messaggi[index] = m_file.records[index].record;
            if (!m_session.write(m_v.Messaggi[index]))
                return false;
        }
        return true;
    }

    // Phase 2: every record is read back in the order written, and compared
    // exactly with the text the file leaves at its address: the last one given
    // there, since each write replaces the one before.
    bool verifyAll() {
        std::array<QByteArray, RecordLayout::addressCount> lastText;
        for (const ProgrammingRecord& record : m_file.records)
            lastText[size_t(record.address)] = record.text();
        m_session.beginPhase(RunProgress::Phase::Verifying, int(m_file.records.size()));
        for (const ProgrammingRecord& record : m_file.records)
            if (!m_session.readBack(record.address, lastText[size_t(record.address)]))
                return false;
        return true;
    }

    Variabili& m_v;
    UnitTextSession m_session;
    OperationHost& m_host;
    const ProgrammingFile& m_file;
};

} // namespace

OperationResult ProgrammaTesti(Variabili& v, SerialExchange& exchange, OperationHost& host) {
    return programFile(v, exchange, host,
                       ProgrammingFile::read(LocalFileName::decode(v.FileSelezionato)));
}

OperationResult programFile(Variabili& v, SerialExchange& exchange, OperationHost& host,
                            const ProgrammingFile& file) {
    return Programming(v, exchange, host, file).run();
}
