#include "device/ReadAllTexts.h"

#include "core/TreCifre.h"
#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/DeviceProtocol.h"
#include "device/ErrorAcknowledgement.h"
#include "device/OperationHost.h"
#include "serial/FormSeriale.h"

namespace {

const QByteArray NoReplyError = "Il TARVO non risponde.";
const QByteArray PortLostError = "Porta seriale persa.";
const QByteArray InvalidReplyError = "Risposta del TARVO non valida.";

enum class ReadOutcome { Read, NoReply, InvalidReply };

// Reads one address. A reply that is not a read reply is never taken for a
// text: noise or a wrong baud rate would otherwise be offered for saving.
ReadOutcome readAddress(Variabili& v, FormSeriale& seriale, OperationHost& host, qint16 address) {
    v.NumeroDaFormattare = address;
    TreCifre(v);
    host.showSending(Windows1252::decode(DeviceProtocol::readBody(v.NumeroFormattato)));
    v.Comando = DeviceProtocol::readFrame(v.Identificativo, v.NumeroFormattato);
    v.LunghezzaRisposta = DeviceProtocol::ReadReplyLength;
    seriale.InviaAllaSeriale();
    if (v.Risposta == FormSeriale::TestoTimeout)
        return ReadOutcome::NoReply;
    if (!DeviceProtocol::readReplyValid(v.Risposta)) {
        seriale.trace().markLast(LineTrace::Mark::InvalidReply);
        return ReadOutcome::InvalidReply;
    }
    const QByteArray text = DeviceProtocol::textRead(v.Risposta);
    v.Messaggi[address] = text;
    host.showOutcome(Windows1252::decode(text));
    v.TestoMessaggi += v.NumeroFormattato + text + "*\r\n";
    return ReadOutcome::Read;
}

void reportNoReply(Variabili& v, FormSeriale& seriale, OperationHost& host) {
    const QString failure = seriale.lastFailure();
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

bool readEveryAddress(Variabili& v, FormSeriale& seriale, OperationHost& host) {
    RunClock clock;
    host.showProgress({RunProgress::Phase::Lettura, {}, 0, RecordLayout::addressCount});
    for (qint16 address = 0; address < RecordLayout::addressCount; ++address) {
        const ReadOutcome outcome = readAddress(v, seriale, host, address);
        clock.exchangeDone();
        RunProgress progress{RunProgress::Phase::Lettura, v.NumeroFormattato, address + 1,
                             RecordLayout::addressCount};
        progress.msLeft = clock.msLeft(RecordLayout::addressCount - progress.done);
        host.showProgress(progress);
        switch (outcome) {
        case ReadOutcome::Read:
            continue;
        case ReadOutcome::NoReply:
            reportNoReply(v, seriale, host);
            return false;
        case ReadOutcome::InvalidReply:
            reportInvalidReply(v, host);
            return false;
        }
    }
    return true;
}

} // namespace

OperationResult readAllTexts(Variabili& v, FormSeriale& seriale, OperationHost& host) {
    seriale.trace().beginOperation(QStringLiteral("Leggi Testi dal TARVO"));
    if (!seriale.ApriSeriale()) {
        host.showOutcome(seriale.lastFailure());
        return OperationResult::CannotStart;
    }
    host.DisabilitaComandi();
    v.TestoMessaggi.clear();
    const bool complete = readEveryAddress(v, seriale, host);
    if (complete) {
        host.showOutcome(QStringLiteral("letti tutti"));
        v.CommentoDaSalvare.clear();
        host.offerForSaving();
    }
    host.AbilitaComandi();
    seriale.ChiudiSeriale();
    return complete ? OperationResult::Succeeded : OperationResult::UnitFailed;
}
