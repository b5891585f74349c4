#include "device/UnitTextSession.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/DeviceProtocol.h"
#include "device/ErrorAcknowledgement.h"
#include "device/OperationHost.h"
#include "device/ProgrammingFile.h"
#include "files/RecordLayout.h"
#include "serial/SerialExchange.h"

namespace {

const QByteArray ReplyError = " Errore risposta ";
const QByteArray DataError = "Errore Dati non scritti giusti.";
const QByteArray PortError = " Errore porta seriale ";

} // namespace

UnitTextSession::UnitTextSession(Variabili& v, SerialExchange& exchange, OperationHost& host)
    : m_v(v), m_exchange(exchange), m_host(host) {}

UnitTextSession::~UnitTextSession() {
    if (m_open)
        m_exchange.ChiudiSeriale();
}

bool UnitTextSession::accepts(const ProgrammingFile& file) {
    // Programming refuses such a file whole; so does every operation that
    // writes or compares what programming would send.
    if (file.problem.isEmpty())
        return true;
    cannotStart(file.problem);
    return false;
}

bool UnitTextSession::open(const QString& operation) {
    // The identifier box may change during the run; the unit addressed may not.
    m_identifier = m_v.Identificativo;
    m_commandsOff.emplace(m_host);
    m_exchange.trace().beginOperation(operation);
    m_open = m_exchange.ApriSeriale();
    if (!m_open)
        cannotStart(m_exchange.lastFailure());
    return m_open;
}

void UnitTextSession::beginPhase(RunProgress::Phase phase, int total) {
    m_phase = phase;
    m_total = total;
    m_done = 0;
    m_laterExchanges = 0;
}

void UnitTextSession::exchange(const QByteArray& frame, qint16 replyLength,
                               const QByteArray& address) {
    m_address = address;
    m_v.Comando = frame;
    m_v.LunghezzaRisposta = replyLength;
    m_lastReply = m_exchange.InviaAllaSeriale();
    m_clock.exchangeDone();
    RunProgress progress{m_phase, address, ++m_done, qMax(m_total, m_done)};
    progress.msLeft = m_clock.msLeft(progress.total - m_done + m_laterExchanges);
    m_host.showProgress(progress);
}

std::optional<QByteArray> UnitTextSession::read(int address) {
    const QByteArray digits = RecordLayout::addressText(address);
    m_host.showSending(Windows1252::decode(DeviceProtocol::readBody(digits)));
    exchange(DeviceProtocol::readFrame(m_identifier, digits), FrameLayout::readReplyLength, digits);
    if (!DeviceProtocol::readReplyValid(m_v.Risposta)) {
        m_exchange.trace().markLast(LineTrace::Mark::InvalidReply);
        m_host.showSending(Windows1252::decode(m_v.Risposta));
        fail(ReplyError, RunFailure::Kind::InvalidReply, {}, m_v.Risposta);
        return std::nullopt;
    }
    const QByteArray text = DeviceProtocol::textRead(m_v.Risposta);
    m_host.showOutcome(Windows1252::decode(text));
    return text;
}

bool UnitTextSession::write(const QByteArray& record) {
    const QByteArray digits = record.left(RecordLayout::addressDigits);
    m_host.showSending(Windows1252::decode(record));
    exchange(DeviceProtocol::writeFrame(m_identifier, record), FrameLayout::writeReplyLength,
             digits);
    // The frame given back is never its own acknowledgement.
    if (!m_lastReply.echoed && DeviceProtocol::writeConfirmed(m_v.Risposta))
        return true;
    m_exchange.trace().markLast(LineTrace::Mark::Refused);
    m_host.showSending(Windows1252::decode(m_v.Risposta));
    fail(ReplyError, RunFailure::Kind::RefusedWrite, record.mid(RecordLayout::addressDigits),
         m_v.Risposta);
    return false;
}

bool UnitTextSession::readBack(int address, const QByteArray& expected) {
    const QByteArray digits = RecordLayout::addressText(address);
    m_host.showSending(Windows1252::decode(DeviceProtocol::readBody(digits)));
    exchange(DeviceProtocol::readFrame(m_identifier, digits), FrameLayout::readReplyLength, digits);
    const QByteArray read = DeviceProtocol::textRead(m_v.Risposta);
    m_host.showSending(Windows1252::decode(expected));
    m_host.showOutcome(Windows1252::decode(read));
    if (read == expected)
        return true;
    m_exchange.trace().markLast(LineTrace::Mark::Mismatch);
    fail(DataError, RunFailure::Kind::TextDiffers, expected, read);
    return false;
}

void UnitTextSession::note(const QString& text) {
    m_exchange.trace().noteLast(text);
}

void UnitTextSession::cannotStart(const QString& why) {
    m_host.showOutcome(why);
    m_result = OperationResult::CannotStart;
}

// A port that stopped working is named as such rather than as a refused write
// or wrong data.
void UnitTextSession::fail(const QByteArray& testoErrore, RunFailure::Kind kind,
                           const QByteArray& expected, const QByteArray& received) {
    RunFailure failure{kind, m_phase, m_address, expected, received, {}};
    QByteArray shown = testoErrore;
    m_result = OperationResult::UnitFailed;
    if (m_lastReply.status == ExchangeReply::Status::PortLost) {
        failure.kind = RunFailure::Kind::PortLost;
        failure.portProblem = m_exchange.lastFailure();
        shown = PortError;
        m_host.showOutcome(failure.portProblem);
    } else {
        if (m_lastReply.status == ExchangeReply::Status::EchoDiffers) {
            failure.kind = RunFailure::Kind::EchoDiffers;
            failure.received = m_lastReply.bytes;
        } else if (m_lastReply.echoed) {
            failure.kind = RunFailure::Kind::UnexpectedEcho;
            failure.received = m_lastReply.bytes;
        } else if (m_lastReply.status != ExchangeReply::Status::Answered) {
            failure.kind = RunFailure::Kind::NoReply;
        }
        // Before anything is written the lower box is this operation's own:
        // it says what stopped the reading, and that the unit is untouched.
        if (m_phase == RunProgress::Phase::Backup || m_phase == RunProgress::Phase::Comparison)
            m_host.showOutcome(failure.readingStopped());
    }
    m_host.showFailure(failure);
    ErrorAcknowledgement::show(m_v, m_host, shown);
    ErrorAcknowledgement::waitForClick(m_v, m_host);
}
