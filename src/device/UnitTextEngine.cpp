#include "device/UnitTextEngine.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/DeviceProtocol.h"
#include "device/ProgrammingFile.h"
#include "files/RecordLayout.h"
#include "serial/SerialExchange.h"

UnitTextEngine::UnitTextEngine(Variabili& v, SerialExchange& exchange, OperationHost& host,
                               FailureEnding::Wording wording)
    : m_v(v), m_exchange(exchange), m_host(host), m_wording(wording) {}

bool UnitTextEngine::accepts(const ProgrammingFile& file) {
    // Programming refuses such a file whole; so does every operation that
    // writes or compares what programming would send.
    if (file.problem.isEmpty())
        return true;
    cannotStart(file.problem);
    return false;
}

bool UnitTextEngine::open(const QString& heading, CommandsOff commandsOff) {
    // The identifier box may change during the run; the unit addressed may not.
    m_identifier = m_v.Identificativo;
    if (commandsOff == CommandsOff::BeforeOpening)
        m_commandsOff.emplace(m_host);
    m_scope.emplace(m_exchange, heading);
    if (!m_scope->open()) {
        m_outcome.port = m_scope->openFailure();
        cannotStart(m_outcome.port.text);
        return false;
    }
    if (!m_commandsOff)
        m_commandsOff.emplace(m_host);
    return true;
}

void UnitTextEngine::beginPhase(RunProgress::Phase phase, int total) {
    m_phase = phase;
    m_total = total;
    m_done = 0;
    m_laterExchanges = 0;
}

ExchangeReply UnitTextEngine::exchange(const QByteArray& frame, qint16 replyLength,
                                       const QByteArray& address) {
    m_v.Comando = frame;
    m_v.LunghezzaRisposta = replyLength;
    const ExchangeReply reply = m_exchange.InviaAllaSeriale();
    m_clock.exchangeDone();
    RunProgress progress{m_phase, address, ++m_done, qMax(m_total, m_done)};
    progress.msLeft = m_clock.msLeft(progress.total - m_done + m_laterExchanges);
    m_host.showProgress(progress);
    if (reply.status != ExchangeReply::Status::NotSent)
        m_outcome.lastExchanged = progress;
    return reply;
}

std::optional<QByteArray> UnitTextEngine::readText(int address, bool storableOnly) {
    const QByteArray digits = RecordLayout::addressText(address);
    m_host.showSending(Windows1252::decode(DeviceProtocol::readBody(digits)));
    const ExchangeReply reply = exchange(DeviceProtocol::readFrame(m_identifier, digits),
                                         FrameLayout::readReplyLength, digits);
    // A reply that is not a read reply is never taken for a text: noise or
    // a wrong baud rate would otherwise be kept.
    if (!DeviceProtocol::readReplyValid(m_v.Risposta)) {
        m_exchange.trace().markLast(LineTrace::Mark::InvalidReply);
        fail(RunFailure::of(
            reply, {RunFailure::Kind::InvalidReply, m_phase, digits, {}, m_v.Risposta, {}}));
        return std::nullopt;
    }
    const QByteArray text = DeviceProtocol::textRead(m_v.Risposta);
    if (storableOnly && !RecordLayout::fitsOnALine(text)) {
        fail(RunFailure::of(reply,
                            {RunFailure::Kind::TextNotStorable, m_phase, digits, {}, text, {}}));
        return std::nullopt;
    }
    m_host.showOutcome(Windows1252::decode(text));
    return text;
}

bool UnitTextEngine::write(const QByteArray& record) {
    const QByteArray digits = record.left(RecordLayout::addressDigits);
    m_host.showSending(Windows1252::decode(record));
    const ExchangeReply reply = exchange(DeviceProtocol::writeFrame(m_identifier, record),
                                         FrameLayout::writeReplyLength, digits);
    // The frame given back is never its own acknowledgement.
    if (!reply.echoed && DeviceProtocol::writeConfirmed(m_v.Risposta))
        return true;
    m_exchange.trace().markLast(LineTrace::Mark::Refused);
    fail(RunFailure::of(reply, {RunFailure::Kind::RefusedWrite,
                                m_phase,
                                digits,
                                record.mid(RecordLayout::addressDigits),
                                m_v.Risposta,
                                {}}));
    return false;
}

bool UnitTextEngine::readBack(int address, const QByteArray& expected) {
    const QByteArray digits = RecordLayout::addressText(address);
    m_host.showSending(Windows1252::decode(DeviceProtocol::readBody(digits)));
    const ExchangeReply reply = exchange(DeviceProtocol::readFrame(m_identifier, digits),
                                         FrameLayout::readReplyLength, digits);
    const QByteArray read = DeviceProtocol::textRead(m_v.Risposta);
    m_host.showSending(Windows1252::decode(expected));
    m_host.showOutcome(Windows1252::decode(read));
    if (read == expected)
        return true;
    m_exchange.trace().markLast(LineTrace::Mark::Mismatch);
    fail(RunFailure::of(reply,
                        {RunFailure::Kind::TextDiffers, m_phase, digits, expected, read, {}}));
    return false;
}

bool UnitTextEngine::readAddresses(const Reading& reading, const Took& took) {
    const int count = int(reading.addresses.size());
    beginPhase(reading.phase, count);
    if (reading.announced)
        m_host.showProgress({reading.phase, {}, 0, count});
    for (int index = 0; index < count; ++index) {
        const int address = reading.addresses[index];
        const std::optional<QByteArray> text = readText(address, reading.storableOnly);
        if (!text)
            return false;
        note(took(index, address, *text));
    }
    return true;
}

bool UnitTextEngine::readEveryText(RunProgress::Phase phase, bool announced, const Took& took) {
    Reading reading{phase, {}, true, announced};
    for (int address = 0; address < RecordLayout::addressCount; ++address)
        reading.addresses += address;
    return readAddresses(reading, took);
}

bool UnitTextEngine::writeRecords(const Writing& writing) {
    const int count = int(writing.records.size());
    beginPhase(RunProgress::Phase::Writing, count);
    // Every record written is read back once more.
    expectLater(count);
    for (int index = 0; index < count; ++index) {
        if (writing.sending)
            writing.sending(index);
        if (!write(writing.records[index]))
            return false;
        if (writing.written)
            note(writing.written(index));
    }
    return true;
}

bool UnitTextEngine::verify(const QList<Expected>& texts, const QString& readBackNote) {
    beginPhase(RunProgress::Phase::Verifying, int(texts.size()));
    for (const Expected& expected : texts) {
        if (!readBack(expected.address, expected.text))
            return false;
        note(readBackNote);
    }
    return true;
}

void UnitTextEngine::note(const QString& text) {
    if (!text.isEmpty())
        m_exchange.trace().noteLast(text);
}

void UnitTextEngine::cannotStart(const QString& why) {
    m_host.showOutcome(why);
    m_outcome.ending = OperationOutcome::Ending::CannotStart;
}

void UnitTextEngine::fail(RunFailure failure) {
    if (failure.kind == RunFailure::Kind::PortLost)
        failure.port = m_exchange.lastFailure();
    m_outcome.ending = OperationOutcome::Ending::Failed;
    m_outcome.failure = failure;
    FailureEnding::end(m_v, m_host, failure, m_wording);
}

OperationOutcome UnitTextEngine::outcome() const {
    OperationOutcome outcome = m_outcome;
    // A run that a stop cut short is stopped, whatever its last exchange met.
    if (!outcome.done() && (m_v.stopRequested || m_v.closeRequested))
        outcome.ending = OperationOutcome::Ending::Stopped;
    return outcome;
}
