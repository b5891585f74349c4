#include "device/UnitTextSession.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/DeviceProtocol.h"
#include "device/ErrorAcknowledgement.h"
#include "device/FileTexts.h"
#include "device/OperationHost.h"
#include "device/ProgrammingPreflight.h"
#include "files/RecordLayout.h"
#include "serial/SerialExchange.h"

namespace {

const QByteArray ReplyError = " Errore risposta ";
const QByteArray DataError = "Errore Dati non scritti giusti.";
const QByteArray PortError = " Errore porta seriale ";

} // namespace

QByteArray threeDigits(int address) {
    return QByteArray::number(address).rightJustified(3, '0');
}

UnitTextSession::UnitTextSession(Variabili& v, SerialExchange& exchange, OperationHost& host)
    : m_v(v), m_exchange(exchange), m_host(host) {}

UnitTextSession::~UnitTextSession() {
    if (m_open)
        m_exchange.ChiudiSeriale();
}

bool UnitTextSession::readFile(const QString& path, FileTexts& texts) {
    texts = FileTexts::read(path);
    // Programming refuses such a file whole; so does every operation that
    // writes or compares what programming would send.
    if (texts.recordCount > Variabili::MessageSlots) {
        cannotStart(ProgrammingPreflight::overLimit(texts.recordCount));
        return false;
    }
    if (!texts.error.isEmpty()) {
        cannotStart(texts.error);
        return false;
    }
    return true;
}

bool UnitTextSession::open(const QString& operation) {
    m_exchange.trace().beginOperation(operation);
    m_open = m_exchange.ApriSeriale();
    if (!m_open)
        cannotStart(m_exchange.lastFailure());
    return m_open;
}

void UnitTextSession::exchange(const QByteArray& frame, qint16 replyLength) {
    m_v.Comando = frame;
    m_v.LunghezzaRisposta = replyLength;
    m_exchange.InviaAllaSeriale();
    m_clock.exchangeDone();
}

std::optional<QByteArray> UnitTextSession::read(int address) {
    const QByteArray digits = threeDigits(address);
    m_host.showSending(Windows1252::decode(DeviceProtocol::readBody(digits)));
    exchange(DeviceProtocol::readFrame(m_v.Identificativo, digits),
             DeviceProtocol::ReadReplyLength);
    if (!DeviceProtocol::readReplyValid(m_v.Risposta)) {
        m_exchange.trace().markLast(LineTrace::Mark::InvalidReply);
        m_host.showSending(Windows1252::decode(m_v.Risposta));
        fail(ReplyError, OperationResult::UnitFailed);
        return std::nullopt;
    }
    const QByteArray text = DeviceProtocol::textRead(m_v.Risposta);
    m_host.showOutcome(Windows1252::decode(text));
    return text;
}

bool UnitTextSession::write(const QByteArray& record) {
    m_host.showSending(Windows1252::decode(record));
    exchange(DeviceProtocol::writeFrame(m_v.Identificativo, record),
             DeviceProtocol::WriteReplyLength);
    if (DeviceProtocol::writeConfirmed(m_v.Risposta))
        return true;
    m_exchange.trace().markLast(LineTrace::Mark::Refused);
    m_host.showSending(Windows1252::decode(m_v.Risposta));
    fail(ReplyError, OperationResult::UnitFailed);
    return false;
}

bool UnitTextSession::readBack(const QByteArray& record) {
    const QByteArray address = record.left(RecordLayout::addressDigits);
    m_host.showSending(Windows1252::decode(DeviceProtocol::readBody(address)));
    exchange(DeviceProtocol::readFrame(m_v.Identificativo, address),
             DeviceProtocol::ReadReplyLength);
    const QByteArray read = DeviceProtocol::textRead(m_v.Risposta);
    const QByteArray expected = record.mid(RecordLayout::addressDigits);
    m_host.showSending(Windows1252::decode(expected));
    m_host.showOutcome(Windows1252::decode(read));
    if (read == expected)
        return true;
    m_exchange.trace().markLast(LineTrace::Mark::Mismatch);
    fail(DataError, OperationResult::UnitFailed);
    return false;
}

void UnitTextSession::note(const QString& text) {
    m_exchange.trace().noteLast(text);
}

void UnitTextSession::reportProgress(RunProgress::Phase phase, int address, int done, int total,
                                     int remainingExchanges) {
    RunProgress progress{phase, threeDigits(address), done, total};
    progress.msLeft = m_clock.msLeft(remainingExchanges);
    m_host.showProgress(progress);
}

void UnitTextSession::cannotStart(const QString& why) {
    m_host.showOutcome(why);
    m_result = OperationResult::CannotStart;
}

// A port that stopped working is named as such rather than as a refused write
// or wrong data.
void UnitTextSession::fail(const QByteArray& testoErrore, OperationResult result) {
    QByteArray shown = testoErrore;
    m_result = result;
    if (!m_exchange.lastFailure().isEmpty()) {
        shown = PortError;
        m_result = OperationResult::UnitFailed;
        m_host.showOutcome(m_exchange.lastFailure());
    }
    ErrorAcknowledgement::show(m_v, m_host, shown);
    ErrorAcknowledgement::waitForClick(m_v, m_host);
}
