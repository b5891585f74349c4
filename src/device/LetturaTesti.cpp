#include "device/LetturaTesti.h"

#include "core/TreCifre.h"
#include "core/Variabili.h"
#include "device/ErrorAcknowledgement.h"
#include "device/Protocollo.h"
#include "device/StatusBoxes.h"
#include "serial/FormSeriale.h"
#include "ui/FormSalvaFile.h"
#include "ui/FormScriveMessaggi.h"

namespace {

constexpr int NumeroIndirizzi = 512;
const QByteArray NessunaRisposta = "Il TARVO non risponde.";
const QByteArray PortaPersa = "Porta seriale persa.";
const QByteArray RispostaNonValida = "Risposta del TARVO non valida.";

enum class Esito { Letto, NessunaRisposta, RispostaNonValida };

// Reads one address. A reply that is not a read reply is never taken for a
// text: noise or a wrong baud rate would otherwise be offered for saving.
Esito leggiIndirizzo(Variabili& v, FormSeriale& seriale, FormScriveMessaggi& finestra,
                     qint16 indirizzo) {
    v.NumeroDaFormattare = indirizzo;
    TreCifre(v);
    StatusBoxes::show(finestra.Text1, Protocollo::corpoLettura(v.NumeroFormattato));
    v.Comando = Protocollo::frameLettura(v.Identificativo, v.NumeroFormattato);
    v.LunghezzaRisposta = Protocollo::LunghezzaRispostaLettura;
    seriale.InviaAllaSeriale();
    if (v.Risposta == FormSeriale::TestoTimeout)
        return Esito::NessunaRisposta;
    if (!Protocollo::letturaValida(v.Risposta))
        return Esito::RispostaNonValida;
    const QByteArray testo = Protocollo::testoLetto(v.Risposta);
    v.Messaggi[indirizzo] = testo;
    StatusBoxes::show(finestra.Text2, testo);
    v.TestoMessaggi += v.NumeroFormattato + testo + "*\r\n";
    return Esito::Letto;
}

void segnalaMancataRisposta(Variabili& v, FormSeriale& seriale, FormScriveMessaggi& finestra) {
    const QString guasto = seriale.lastFailure();
    ErrorAcknowledgement::show(v, finestra, guasto.isEmpty() ? NessunaRisposta : PortaPersa);
    if (guasto.isEmpty())
        StatusBoxes::show(finestra.Text2,
                          QByteArrayLiteral("Errore seriale. Controlla identificativo"));
    else
        StatusBoxes::show(finestra.Text2, guasto);
    ErrorAcknowledgement::waitForClick(v, finestra);
}

void segnalaRispostaNonValida(Variabili& v, FormScriveMessaggi& finestra) {
    ErrorAcknowledgement::show(v, finestra, RispostaNonValida);
    StatusBoxes::show(finestra.Text2,
                      QStringLiteral("Risposta non valida: controlla identificativo, cavo e "
                                     "velocità. Nulla è stato salvato"));
    ErrorAcknowledgement::waitForClick(v, finestra);
}

bool leggiTutti(Variabili& v, FormSeriale& seriale, FormScriveMessaggi& finestra) {
    for (qint16 indirizzo = 0; indirizzo < NumeroIndirizzi; ++indirizzo) {
        switch (leggiIndirizzo(v, seriale, finestra, indirizzo)) {
        case Esito::Letto:
            continue;
        case Esito::NessunaRisposta:
            segnalaMancataRisposta(v, seriale, finestra);
            return false;
        case Esito::RispostaNonValida:
            segnalaRispostaNonValida(v, finestra);
            return false;
        }
    }
    return true;
}

} // namespace

void LeggiTuttiITesti(Variabili& v, FormSeriale& seriale, FormScriveMessaggi& finestra) {
    if (!seriale.ApriSeriale()) {
        StatusBoxes::show(finestra.Text2, seriale.lastFailure());
        return;
    }
    finestra.DisabilitaComandi();
    v.TestoMessaggi.clear();
    if (leggiTutti(v, seriale, finestra)) {
        StatusBoxes::show(finestra.Text2, QByteArrayLiteral("letti tutti"));
        v.CommentoDaSalvare.clear();
        FormSalvaFile salva(v, &finestra);
        salva.mostraModale();
    }
    finestra.AbilitaComandi();
    seriale.ChiudiSeriale();
}
