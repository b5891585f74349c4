#include "device/TestPresenza.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/OperationHost.h"
#include "device/Protocollo.h"
#include "serial/FormSeriale.h"

OperationResult TestaPresenza(Variabili& v, FormSeriale& seriale, OperationHost& host) {
    v.Stato = "Testa";
    if (!seriale.ApriSeriale()) {
        host.showSending(QStringLiteral("Test Funzionamento non eseguito"));
        host.showOutcome(seriale.lastFailure());
        seriale.ChiudiSeriale();
        return OperationResult::CannotStart;
    }
    v.Comando = Protocollo::frameTest(v.Identificativo);
    host.showSending(Windows1252::decode(v.Comando));
    v.LunghezzaRisposta = Protocollo::LunghezzaRispostaTest;
    seriale.InviaAllaSeriale();
    v.Risposta = Protocollo::rispostaTestSenzaPrefisso(v.Risposta);
    v.VerboRisposta = Protocollo::verboTest(v.Risposta);
    const QString guasto = seriale.lastFailure();
    OperationResult result = OperationResult::UnitFailed;
    if (!guasto.isEmpty()) {
        host.showOutcome(guasto);
    } else if (Protocollo::presente(v.VerboRisposta)) {
        host.showOutcome(Windows1252::decode("Tarvo risponde " + v.Risposta));
        result = OperationResult::Succeeded;
    } else {
        host.showOutcome(QStringLiteral("Tarvo non risponde Messo in attesa seriale?"));
    }
    seriale.ChiudiSeriale();
    return result;
}
