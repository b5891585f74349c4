#include "device/ProgrammaTesti.h"

#include "core/Variabili.h"
#include "device/ErrorAcknowledgement.h"
#include "device/OperationHost.h"
#include "device/ProgrammingPreflight.h"
#include "device/UnitTextSession.h"
#include "files/LeggiFileDaProgrammare.h"
#include "files/LocalFileName.h"

#include <array>

namespace {

const QByteArray TooManyMessagesError = " Troppi messaggi nel file ";

// One programming run: writes the file's records, then reads them back.
class Programming {
  public:
    Programming(Variabili& v, SerialExchange& exchange, OperationHost& host)
        : m_v(v), m_session(v, exchange, host), m_host(host),
          m_path(LocalFileName::decode(v.FileSelezionato)) {}

    OperationResult run() {
        // A file that cannot be read, holds no message or does not fit the
        // message table is refused before the port opens: nothing of it
        // reaches the unit.
        const ProgrammingPreflight preflight = ProgrammingPreflight::check(m_path);
        if (!preflight.problem.isEmpty()) {
            m_session.cannotStart(preflight.problem);
            return m_session.result();
        }
        if (!m_session.open(
                QStringLiteral("Invia file al TARVO: %1").arg(LocalFileName::readable(m_path))))
            return m_session.result();
        m_host.showOutcome(QStringLiteral("Programmo scritte"));
        if (writeAll(preflight.records) && verifyAll())
            m_host.showOutcome(QStringLiteral("DATI UGUALI  TUTTO OK "));
        return m_session.result();
    }

  private:
    // Phase 1: every record of the file is stored and written in file order.
    bool writeAll(int counted) {
        LeggiFileDaProgrammare reader(m_path);
        m_session.beginPhase(RunProgress::Phase::Writing, counted);
        // Every record written is read back once more.
        m_session.expectLater(counted);
        // A refused write ends the reading before the error is acknowledged.
        m_session.beforeAcknowledging([&reader] { reader.stop(); });
        while (const std::optional<QByteArray> record = reader.next()) {
            // The file may have grown since it was counted.
            if (m_count == Variabili::MessageSlots) {
                reader.stop();
                m_session.cannotStart(QStringLiteral("Il file ha più di %1 messaggi: scritti i "
                                                     "primi %1, non verificati. Dividi il file.")
                                          .arg(Variabili::MessageSlots));
                ErrorAcknowledgement::show(m_v, m_host, TooManyMessagesError);
                ErrorAcknowledgement::waitForClick(m_v, m_host);
                return false;
            }
            m_v.Messaggi[m_count++] = *record;
            if (!m_session.write(*record))
                return false;
        }
        m_session.beforeAcknowledging({});
        if (!reader.error().isEmpty()) {
            m_session.cannotStart(reader.error());
            return false;
        }
        return true;
    }

    // Phase 2: every stored record is read back in the order written, and
    // compared exactly with the text the file leaves at its address: the last
    // one given there, since each write replaces the one before.
    bool verifyAll() {
        std::array<QByteArray, RecordLayout::addressCount> lastText;
        for (int index = 0; index < m_count; ++index)
            lastText[size_t(addressOf(index))] = m_v.Messaggi[index].mid(RecordLayout::addressDigits);
        m_session.beginPhase(RunProgress::Phase::Verifying, m_count);
        for (int index = 0; index < m_count; ++index) {
            const int address = addressOf(index);
            if (!m_session.readBack(address, lastText[size_t(address)]))
                return false;
        }
        return true;
    }

    int addressOf(int index) const {
        return m_v.Messaggi[index].left(RecordLayout::addressDigits).toInt();
    }

    Variabili& m_v;
    UnitTextSession m_session;
    OperationHost& m_host;
    const QString m_path;
    int m_count = 0;
};

} // namespace

OperationResult ProgrammaTesti(Variabili& v, SerialExchange& exchange, OperationHost& host) {
    return Programming(v, exchange, host).run();
}
