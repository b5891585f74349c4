#include "device/TestPresenza.h"

#include "core/Variabili.h"
#include "device/Protocollo.h"
#include "device/StatusBoxes.h"
#include "serial/FormSeriale.h"
#include "ui/FormScriveMessaggi.h"

void TestaPresenza(Variabili& v, FormSeriale& seriale, FormScriveMessaggi& finestra) {
    v.Stato = "Testa";
    if (!seriale.ApriSeriale()) {
        StatusBoxes::show(finestra.Text1, QStringLiteral("Test Funzionamento non eseguito"));
        StatusBoxes::show(finestra.Text2, seriale.lastFailure());
        seriale.ChiudiSeriale();
        return;
    }
    v.Comando = Protocollo::frameTest(v.Identificativo);
    StatusBoxes::show(finestra.Text1, v.Comando);
    v.LunghezzaRisposta = Protocollo::LunghezzaRispostaTest;
    seriale.InviaAllaSeriale();
    v.Risposta = Protocollo::rispostaTestSenzaPrefisso(v.Risposta);
    v.VerboRisposta = Protocollo::verboTest(v.Risposta);
    const QString guasto = seriale.lastFailure();
    if (!guasto.isEmpty())
        StatusBoxes::show(finestra.Text2, guasto);
    else if (Protocollo::presente(v.VerboRisposta))
        StatusBoxes::show(finestra.Text2, QByteArrayLiteral("Tarvo risponde ") + v.Risposta);
    else
        StatusBoxes::show(finestra.Text2,
                          QByteArrayLiteral("Tarvo non risponde Messo in attesa seriale?"));
    seriale.ChiudiSeriale();
}
