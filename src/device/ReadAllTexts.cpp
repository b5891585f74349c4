#include "device/ReadAllTexts.h"

#include "core/TreCifre.h"
#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/DeviceProtocol.h"
#include "device/ErrorAcknowledgement.h"
#include "device/OperationHost.h"
#include "serial/SerialExchange.h"

namespace {

const QByteArray NoReplyError = "Il TARVO non risponde.";
const QByteArray PortLostError = "Porta seriale persa.";
const QByteArray InvalidReplyError = "Risposta del TARVO non valida.";

enum class ReadOutcome { Read, NoReply, InvalidReply };

// Reads one address. A reply that is not a read reply is never taken for a
// text: noise or a wrong baud rate would otherwise be offered for saving.
ReadOutcome readAddress(Variabili& v, SerialExchange& exchange, OperationHost& host,
                        qint16 address) {
    v.NumeroDaFormattare = address;
    TreCifre(v);
    host.showSending(Windows1252::decode(DeviceProtocol::readBody(v.NumeroFormattato)));
    v.Comando = DeviceProtocol::readFrame(v.Identificativo, v.NumeroFormattato);
    v.LunghezzaRisposta = DeviceProtocol::ReadReplyLength;
    exchange.InviaAllaSeriale();
    if (v.Risposta == SerialExchange::TimeoutText)
        return ReadOutcome::NoReply;
    if (!DeviceProtocol::readReplyValid(v.Risposta)) {
        exchange.trace().markLast(LineTrace::Mark::InvalidReply);
        return ReadOutcome::InvalidReply;
    }
    const QByteArray text = DeviceProtocol::textRead(v.Risposta);
    v.Messaggi[address] = text;
    host.showOutcome(Windows1252::decode(text));
    v.TestoMessaggi += v.NumeroFormattato + text + "*\r\n";
    return ReadOutcome::Read;
}

void reportNoReply(Variabili& v, SerialExchange& exchange, OperationHost& host) {
    const QString failure = exchange.lastFailure();
    ErrorAcknowledgement::show(v, host, failure.isEmpty() ? NoReplyError : PortLostError);
    host.showOutcome(failure.isEmpty() ? QStringLiteral("Errore seriale. Controlla identificativo")
                                       : failure);
    ErrorAcknowledgement::waitForClick(v, host);
}

void reportInvalidReply(Variabili& v, OperationHost& host) {
    ErrorAcknowledgement::show(v, host, InvalidReplyError);
    host.showOutcome(QStringLiteral("Risposta non valida: controlla identificativo, cavo e "
                                    "velocità. Nulla è stato salvato"));
    ErrorAcknowledgement::waitForClick(v, host);
}

bool readEveryAddress(Variabili& v, SerialExchange& exchange, OperationHost& host) {
    RunClock clock;
    host.showProgress({RunProgress::Phase::Reading, {}, 0, RecordLayout::addressCount});
    for (qint16 address = 0; address < RecordLayout::addressCount; ++address) {
        const ReadOutcome outcome = readAddress(v, exchange, host, address);
        clock.exchangeDone();
        RunProgress progress{RunProgress::Phase::Reading, v.NumeroFormattato, address + 1,
                             RecordLayout::addressCount};
        progress.msLeft = clock.msLeft(RecordLayout::addressCount - progress.done);
        host.showProgress(progress);
        switch (outcome) {
        case ReadOutcome::Read:
            continue;
        case ReadOutcome::NoReply:
            reportNoReply(v, exchange, host);
            return false;
        case ReadOutcome::InvalidReply:
            reportInvalidReply(v, host);
            return false;
        }
    }
    return true;
}

} // namespace

OperationResult readAllTexts(Variabili& v, SerialExchange& exchange, OperationHost& host) {
    exchange.trace().beginOperation(QStringLiteral("Leggi Testi dal TARVO"));
    if (!exchange.ApriSeriale()) {
        host.showOutcome(exchange.lastFailure());
        return OperationResult::CannotStart;
    }
    host.DisabilitaComandi();
    v.TestoMessaggi.clear();
    const bool complete = readEveryAddress(v, exchange, host);
    if (complete) {
        host.showOutcome(QStringLiteral("letti tutti"));
        v.CommentoDaSalvare.clear();
        host.offerForSaving();
    }
    host.AbilitaComandi();
    exchange.ChiudiSeriale();
    return complete ? OperationResult::Succeeded : OperationResult::UnitFailed;
}
