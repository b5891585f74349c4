#include "device/ProgrammaTesti.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/DeviceProtocol.h"
#include "device/ErrorAcknowledgement.h"
#include "device/OperationHost.h"
#include "device/ProgrammingPreflight.h"
#include "files/LeggiFileDaProgrammare.h"
#include "files/LocalFileName.h"
#include "serial/SerialExchange.h"

namespace {

const QByteArray ReplyError = " Errore risposta ";
const QByteArray DataError = "Errore Dati non scritti giusti.";
const QByteArray PortError = " Errore porta seriale ";
const QByteArray TooManyMessagesError = " Troppi messaggi nel file ";

// One programming run: writes the file's records, then reads them back.
class Programming {
  public:
    Programming(Variabili& v, SerialExchange& exchange, OperationHost& host)
        : m_v(v), m_exchange(exchange), m_host(host) {}

    OperationResult run() {
        // A file that cannot be read or does not fit the message table is
        // refused before the port opens: nothing of it reaches the unit.
        const ProgrammingPreflight preflight =
            ProgrammingPreflight::check(LocalFileName::decode(m_v.FileSelezionato));
        if (!preflight.problem.isEmpty()) {
            m_host.showOutcome(preflight.problem);
            return OperationResult::CannotStart;
        }
        m_exchange.trace().beginOperation(
            QStringLiteral("Invia file al TARVO: %1")
                .arg(LocalFileName::readable(LocalFileName::decode(m_v.FileSelezionato))));
        if (!m_exchange.ApriSeriale()) {
            m_host.showOutcome(m_exchange.lastFailure());
            return OperationResult::CannotStart;
        }
        m_host.showOutcome(QStringLiteral("Programmo scritte"));
        if (writeAll() && verifyAll())
            m_host.showOutcome(QStringLiteral("DATI UGUALI  TUTTO OK "));
        m_exchange.ChiudiSeriale();
        return m_result;
    }

  private:
    // Phase 1: every record of the file is stored and written in file order.
    bool writeAll() {
        LeggiFileDaProgrammare reader(LocalFileName::decode(m_v.FileSelezionato));
        reportWriting(reader, {});
        while (const std::optional<QByteArray> record = reader.next()) {
            // The file may have grown since it was counted.
            if (m_count == Variabili::MessageSlots) {
                reader.stop();
                m_host.showOutcome(QStringLiteral("Il file ha più di %1 messaggi: scritti i primi "
                                                  "%1, non verificati. Dividi il file.")
                                       .arg(Variabili::MessageSlots));
                return fail(TooManyMessagesError, OperationResult::CannotStart);
            }
            m_v.Messaggi[m_count++] = *record;
            m_host.showSending(Windows1252::decode(*record));
            m_v.Comando = DeviceProtocol::writeFrame(m_v.Identificativo, *record);
            m_v.LunghezzaRisposta = DeviceProtocol::WriteReplyLength;
            m_exchange.InviaAllaSeriale();
            m_clock.exchangeDone();
            reportWriting(reader, record->left(RecordLayout::addressDigits));
            if (!DeviceProtocol::writeConfirmed(m_v.Risposta)) {
                m_exchange.trace().markLast(LineTrace::Mark::Refused);
                reader.stop();
                m_host.showSending(Windows1252::decode(m_v.Risposta));
                return fail(ReplyError, OperationResult::UnitFailed);
            }
        }
        if (!reader.error().isEmpty()) {
            m_host.showOutcome(reader.error());
            m_result = OperationResult::CannotStart;
            return false;
        }
        return true;
    }

    // Phase 2: every stored record is read back and compared exactly.
    bool verifyAll() {
        for (int index = 0; index < m_count; ++index) {
            const QByteArray& entry = m_v.Messaggi[index];
            m_host.showSending(Windows1252::decode(
                DeviceProtocol::readBody(entry.left(RecordLayout::addressDigits))));
            m_v.Comando = DeviceProtocol::readFrame(m_v.Identificativo,
                                                    entry.left(RecordLayout::addressDigits));
            m_v.LunghezzaRisposta = DeviceProtocol::ReadReplyLength;
            m_exchange.InviaAllaSeriale();
            m_clock.exchangeDone();
            RunProgress progress{RunProgress::Phase::Verifying,
                                 entry.left(RecordLayout::addressDigits), index + 1, m_count};
            progress.msLeft = m_clock.msLeft(m_count - progress.done);
            m_host.showProgress(progress);
            const QByteArray read = DeviceProtocol::textRead(m_v.Risposta);
            const QByteArray expected = entry.mid(RecordLayout::addressDigits);
            m_host.showSending(Windows1252::decode(expected));
            m_host.showOutcome(Windows1252::decode(read));
            if (read != expected) {
                m_exchange.trace().markLast(LineTrace::Mark::Mismatch);
                return fail(DataError, OperationResult::UnitFailed);
            }
        }
        return true;
    }

    // Where the writing stands. The file is read as the records are sent, so
    // their number is estimated from the share of the file read so far.
    void reportWriting(const LeggiFileDaProgrammare& reader, const QByteArray& address) {
        RunProgress progress{RunProgress::Phase::Writing, address, m_count};
        const double fraction = reader.fractionRead();
        if (fraction > 0) {
            progress.total = qMax(m_count, qRound(m_count / fraction));
            progress.totalEstimated = reader.isOpen();
            // Every record written is read back once more.
            progress.msLeft = m_clock.msLeft(2 * progress.total - m_count);
        }
        m_host.showProgress(progress);
    }

    // The error ending: a port that stopped working is named as such rather
    // than as a refused write or wrong data.
    bool fail(const QByteArray& testoErrore, OperationResult result) {
        m_v.TestoErrore = testoErrore;
        m_result = result;
        if (!m_exchange.lastFailure().isEmpty()) {
            m_v.TestoErrore = PortError;
            m_result = OperationResult::UnitFailed;
            m_host.showOutcome(m_exchange.lastFailure());
        }
        ErrorAcknowledgement::show(m_v, m_host, m_v.TestoErrore);
        ErrorAcknowledgement::waitForClick(m_v, m_host);
        return false;
    }

    Variabili& m_v;
    SerialExchange& m_exchange;
    OperationHost& m_host;
    int m_count = 0;
    RunClock m_clock;
    OperationResult m_result = OperationResult::Succeeded;
};

} // namespace

OperationResult ProgrammaTesti(Variabili& v, SerialExchange& exchange, OperationHost& host) {
    return Programming(v, exchange, host).run();
}
