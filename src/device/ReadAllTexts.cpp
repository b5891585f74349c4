#include "device/ReadAllTexts.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/DeviceProtocol.h"
#include "device/ErrorAcknowledgement.h"
#include "device/OperationHost.h"
#include "device/TreCifre.h"
#include "serial/SerialExchange.h"

namespace {

const QByteArray NoReplyError = "Il TARVO non risponde.";
const QByteArray PortLostError = "Porta seriale persa.";
const QByteArray InvalidReplyError = "Risposta del TARVO non valida.";
const QByteArray NotStorableError = "Testo del TARVO non salvabile.";
const QByteArray EchoError = "Eco della linea sbagliata.";

enum class ReadOutcome {
    Read,
    NoReply,
    PortLost,
    InvalidReply,
    UnexpectedEcho,
    NotStorable,
    EchoDiffers
};

// Reads one address with the identifier the run started with. A reply that
// is not a read reply is never taken for a text: noise or a wrong baud rate
// would otherwise be offered for saving; nor is a text that a line of the
// file could not hold.
ReadOutcome readAddress(Variabili& v, SerialExchange& exchange, OperationHost& host,
                        const QByteArray& identifier, qint16 address, QByteArray& heard) {
    v.NumeroDaFormattare = address;
    TreCifre(v);
    host.showSending(Windows1252::decode(DeviceProtocol::readBody(v.NumeroFormattato)));
    v.Comando = DeviceProtocol::readFrame(identifier, v.NumeroFormattato);
    v.LunghezzaRisposta = FrameLayout::readReplyLength;
    const ExchangeReply reply = exchange.InviaAllaSeriale();
    heard = reply.bytes;
    switch (reply.status) {
    case ExchangeReply::Status::Answered:
        break;
    case ExchangeReply::Status::EchoDiffers:
        return ReadOutcome::EchoDiffers;
    case ExchangeReply::Status::PortLost:
        return ReadOutcome::PortLost;
    case ExchangeReply::Status::TimedOut:
        return reply.echoed ? ReadOutcome::UnexpectedEcho : ReadOutcome::NoReply;
    case ExchangeReply::Status::NotSent:
        return ReadOutcome::NoReply;
    }
    if (!DeviceProtocol::readReplyValid(v.Risposta)) {
        exchange.trace().markLast(LineTrace::Mark::InvalidReply);
        return reply.echoed ? ReadOutcome::UnexpectedEcho : ReadOutcome::InvalidReply;
    }
    const QByteArray text = DeviceProtocol::textRead(v.Risposta);
    if (!RecordLayout::fitsOnALine(text))
        return ReadOutcome::NotStorable;
    v.Messaggi[address] = text;
    host.showOutcome(Windows1252::decode(text));
    v.TestoMessaggi += RecordLayout::fileLine(address, text);
    return ReadOutcome::Read;
}

// The error ending: the failure, then its error text held until acknowledged
// with the lower box telling the operator what to do.
void report(Variabili& v, OperationHost& host, const RunFailure& failure,
            const QByteArray& testoErrore, const QString& outcome) {
    host.showFailure(failure);
    ErrorAcknowledgement::show(v, host, testoErrore);
    host.showOutcome(outcome);
    ErrorAcknowledgement::waitForClick(v, host);
}

void reportFailure(Variabili& v, SerialExchange& exchange, OperationHost& host, ReadOutcome outcome,
                   const QByteArray& heard) {
    RunFailure failure{RunFailure::Kind::NoReply,
                       RunProgress::Phase::Reading,
                       v.NumeroFormattato,
                       {},
                       v.Risposta,
                       {}};
    switch (outcome) {
    case ReadOutcome::Read:
        return;
    case ReadOutcome::PortLost:
        failure.kind = RunFailure::Kind::PortLost;
        failure.portProblem = exchange.lastFailure();
        report(v, host, failure, PortLostError, failure.portProblem);
        return;
    case ReadOutcome::NoReply:
        report(v, host, failure, NoReplyError,
               QStringLiteral("Errore seriale. Controlla identificativo"));
        return;
    case ReadOutcome::InvalidReply:
        failure.kind = RunFailure::Kind::InvalidReply;
        report(v, host, failure, InvalidReplyError,
               QStringLiteral("Risposta non valida: controlla identificativo, cavo e "
                              "velocità. Nulla è stato salvato"));
        return;
    case ReadOutcome::UnexpectedEcho:
        failure.kind = RunFailure::Kind::UnexpectedEcho;
        failure.received = heard;
        report(v, host, failure, InvalidReplyError,
               QStringLiteral("La linea ripete le trame: attiva «Linea con eco» nel menu "
                              "Strumenti. Nulla è stato salvato"));
        return;
    case ReadOutcome::EchoDiffers:
        failure.kind = RunFailure::Kind::EchoDiffers;
        failure.received = heard;
        report(v, host, failure, EchoError,
               QStringLiteral("La linea non ha ripetuto la trama così come è stata inviata: "
                              "controlla l'impostazione dell'eco e il cavo. Nulla è stato "
                              "salvato"));
        return;
    case ReadOutcome::NotStorable:
        failure.kind = RunFailure::Kind::TextNotStorable;
        failure.received = DeviceProtocol::textRead(v.Risposta);
        report(v, host, failure, NotStorableError,
               QStringLiteral("Il testo letto all'indirizzo %1 va a capo (byte %2): una riga di "
                              "un file .tvo non può tenerlo. Nulla è stato salvato")
                   .arg(QString::fromLatin1(v.NumeroFormattato),
                        QString::fromLatin1(failure.received.toHex(' ').toUpper())));
        return;
    }
}

bool readEveryAddress(Variabili& v, SerialExchange& exchange, OperationHost& host) {
    // The identifier box may change during the run; the unit addressed may not.
    const QByteArray identifier = v.Identificativo;
    RunClock clock;
    host.showProgress({RunProgress::Phase::Reading, {}, 0, RecordLayout::addressCount});
    for (qint16 address = 0; address < RecordLayout::addressCount; ++address) {
        QByteArray heard;
        const ReadOutcome outcome = readAddress(v, exchange, host, identifier, address, heard);
        clock.exchangeDone();
        RunProgress progress{RunProgress::Phase::Reading, v.NumeroFormattato, address + 1,
                             RecordLayout::addressCount};
        progress.msLeft = clock.msLeft(RecordLayout::addressCount - progress.done);
        host.showProgress(progress);
        if (outcome != ReadOutcome::Read) {
            reportFailure(v, exchange, host, outcome, heard);
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
    bool complete = false;
    {
        const CommandsDisabled commandsOff(host);
        v.TestoMessaggi.clear();
        complete = readEveryAddress(v, exchange, host);
        if (complete) {
            host.showOutcome(QStringLiteral("letti tutti"));
            v.CommentoDaSalvare.clear();
            host.offerForSaving();
        }
    }
    exchange.ChiudiSeriale();
    return complete ? OperationResult::Succeeded : OperationResult::UnitFailed;
}
