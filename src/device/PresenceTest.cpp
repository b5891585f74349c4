#include "device/PresenceTest.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/DeviceProtocol.h"
#include "device/OperationHost.h"
#include "serial/SerialExchange.h"

OperationResult runPresenceTest(Variabili& v, SerialExchange& exchange, OperationHost& host) {
    v.Stato = "Testa";
    exchange.trace().beginOperation(QStringLiteral("Test Funzionamento"));
    if (!exchange.ApriSeriale()) {
        host.showSending(QStringLiteral("Test Funzionamento non eseguito"));
        host.showOutcome(exchange.lastFailure());
        exchange.ChiudiSeriale();
        return OperationResult::CannotStart;
    }
    v.Comando = DeviceProtocol::testFrame(v.Identificativo);
    host.showSending(Windows1252::decode(v.Comando));
    v.LunghezzaRisposta = FrameLayout::testReplyLength;
    const ExchangeReply reply = exchange.InviaAllaSeriale();
    v.Risposta = DeviceProtocol::testReplyWithoutPrefix(v.Risposta);
    v.VerboRisposta = DeviceProtocol::testVerb(v.Risposta);
    OperationResult result = OperationResult::UnitFailed;
    if (reply.status == ExchangeReply::Status::PortLost) {
        host.showOutcome(exchange.lastFailure());
    } else if (DeviceProtocol::unitPresent(v.VerboRisposta)) {
        host.showOutcome(Windows1252::decode("Tarvo risponde " + v.Risposta));
        result = OperationResult::Succeeded;
    } else {
        exchange.trace().markLast(LineTrace::Mark::InvalidReply);
        host.showOutcome(QStringLiteral("Tarvo non risponde Messo in attesa seriale?"));
    }
    exchange.ChiudiSeriale();
    return result;
}
