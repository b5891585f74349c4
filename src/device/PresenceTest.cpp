#include "device/PresenceTest.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/DeviceProtocol.h"
#include "device/OperationHost.h"
#include "serial/FormSeriale.h"

OperationResult runPresenceTest(Variabili& v, FormSeriale& seriale, OperationHost& host) {
    v.Stato = "Testa";
    seriale.trace().beginOperation(QStringLiteral("Test Funzionamento"));
    if (!seriale.ApriSeriale()) {
        host.showSending(QStringLiteral("Test Funzionamento non eseguito"));
        host.showOutcome(seriale.lastFailure());
        seriale.ChiudiSeriale();
        return OperationResult::CannotStart;
    }
    v.Comando = DeviceProtocol::testFrame(v.Identificativo);
    host.showSending(Windows1252::decode(v.Comando));
    v.LunghezzaRisposta = DeviceProtocol::TestReplyLength;
    seriale.InviaAllaSeriale();
    v.Risposta = DeviceProtocol::testReplyWithoutPrefix(v.Risposta);
    v.VerboRisposta = DeviceProtocol::testVerb(v.Risposta);
    const QString failure = seriale.lastFailure();
    OperationResult result = OperationResult::UnitFailed;
    if (!failure.isEmpty()) {
        host.showOutcome(failure);
    } else if (DeviceProtocol::unitPresent(v.VerboRisposta)) {
        host.showOutcome(Windows1252::decode("Tarvo risponde " + v.Risposta));
        result = OperationResult::Succeeded;
    } else {
        seriale.trace().markLast(LineTrace::Mark::InvalidReply);
        host.showOutcome(QStringLiteral("Tarvo non risponde Messo in attesa seriale?"));
    }
    seriale.ChiudiSeriale();
    return result;
}
