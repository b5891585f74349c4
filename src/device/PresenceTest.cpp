#include "device/PresenceTest.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/DeviceProtocol.h"
#include "device/OperationHost.h"
#include "device/OperationScope.h"
#include "serial/SerialExchange.h"

namespace {

QString hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// What the line did with the echo setting, as programming would name it:
// the frame not given back as expected, or given back unexpected. The unit's
// test reply is the test frame itself: with the echo set, that frame alone
// is either the reply on a line without echo or the echo of a silent unit,
// and both are named.
void noteEcho(const ExchangeReply& reply, const RunFailure& failure, const QByteArray& frame,
              bool lineEchoes, OperationHost& host) {
    if (lineEchoes && reply.status == ExchangeReply::Status::TimedOut && reply.bytes == frame) {
        host.showNote(
            QStringLiteral("Con l'eco attivato è tornata solo la trama del test (byte %1), uguale "
                           "alla risposta dell'unità: se la linea non ha eco, quella è la "
                           "risposta, e la linea non ha ripetuto la trama così come è stata "
                           "inviata (togli «Linea con eco» nel menu Strumenti, --eco in "
                           "tarvo-cli); se la linea ripete le trame, l'unità non risponde. La "
                           "diagnosi della linea distingue i due casi.")
                .arg(hex(frame)));
        return;
    }
    const bool echoFailure = failure.kind == RunFailure::Kind::EchoDiffers ||
                             (failure.kind == RunFailure::Kind::UnexpectedEcho &&
                              reply.status != ExchangeReply::Status::Answered);
    if (!echoFailure)
        return;
    QString note = failure.problemAt(QStringLiteral("durante il test")) + u'.';
    note[0] = note[0].toUpper();
    host.showNote(note);
}

} // namespace

OperationOutcome runPresenceTest(Variabili& v, SerialExchange& exchange, OperationHost& host) {
    v.Stato = "Testa";
    OperationOutcome outcome;
    OperationScope scope(exchange, QStringLiteral("Test Funzionamento"));
    if (!scope.open()) {
        outcome.ending = OperationOutcome::Ending::CannotStart;
        outcome.port = scope.openFailure();
        host.showSending(QStringLiteral("Test Funzionamento non eseguito"));
        host.showOutcome(outcome.port.text);
        return outcome;
    }
    v.Comando = DeviceProtocol::testFrame(v.Identificativo);
    host.showSending(Windows1252::decode(v.Comando));
    v.LunghezzaRisposta = FrameLayout::testReplyLength;
    const ExchangeReply reply = exchange.InviaAllaSeriale();
    const bool answered = DeviceProtocol::answersTest(v.Risposta);
    v.Risposta = DeviceProtocol::testReplyWithoutPrefix(v.Risposta);
    v.VerboRisposta = DeviceProtocol::testVerb(v.Risposta);
    if (reply.status != ExchangeReply::Status::PortLost && answered) {
        host.showOutcome(Windows1252::decode("Tarvo risponde " + v.Risposta));
        return outcome;
    }
    RunFailure failure = RunFailure::of(
        reply,
        {RunFailure::Kind::InvalidReply, RunProgress::Phase::Reading, {}, {}, reply.bytes, {}});
    outcome.ending = v.stopRequested || v.closeRequested ? OperationOutcome::Ending::Stopped
                                                         : OperationOutcome::Ending::Failed;
    if (failure.kind == RunFailure::Kind::PortLost) {
        failure.port = exchange.lastFailure();
        host.showOutcome(failure.port.text);
    } else {
        exchange.trace().markLast(LineTrace::Mark::InvalidReply);
        host.showOutcome(QStringLiteral("Tarvo non risponde Messo in attesa seriale?"));
        noteEcho(reply, failure, v.Comando, exchange.lineEchoes(), host);
    }
    outcome.failure = failure;
    return outcome;
}
