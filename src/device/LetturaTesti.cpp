#include "device/LetturaTesti.h"

#include "core/TreCifre.h"
#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/ErrorAcknowledgement.h"
#include "device/OperationHost.h"
#include "device/Protocollo.h"
#include "serial/FormSeriale.h"

namespace {

constexpr int NumeroIndirizzi = 512;
const QByteArray NessunaRisposta = "Il TARVO non risponde.";
const QByteArray PortaPersa = "Porta seriale persa.";
const QByteArray RispostaNonValida = "Risposta del TARVO non valida.";

enum class Esito { Letto, NessunaRisposta, RispostaNonValida };

// Reads one address. A reply that is not a read reply is never taken for a
// text: noise or a wrong baud rate would otherwise be offered for saving.
Esito leggiIndirizzo(Variabili& v, FormSeriale& seriale, OperationHost& host, qint16 indirizzo) {
    v.NumeroDaFormattare = indirizzo;
    TreCifre(v);
    host.showSending(Windows1252::decode(Protocollo::corpoLettura(v.NumeroFormattato)));
    v.Comando = Protocollo::frameLettura(v.Identificativo, v.NumeroFormattato);
    v.LunghezzaRisposta = Protocollo::LunghezzaRispostaLettura;
    seriale.InviaAllaSeriale();
    if (v.Risposta == FormSeriale::TestoTimeout)
        return Esito::NessunaRisposta;
    if (!Protocollo::letturaValida(v.Risposta))
        return Esito::RispostaNonValida;
    const QByteArray testo = Protocollo::testoLetto(v.Risposta);
    v.Messaggi[indirizzo] = testo;
    host.showOutcome(Windows1252::decode(testo));
    v.TestoMessaggi += v.NumeroFormattato + testo + "*\r\n";
    return Esito::Letto;
}

void segnalaMancataRisposta(Variabili& v, FormSeriale& seriale, OperationHost& host) {
    const QString guasto = seriale.lastFailure();
    ErrorAcknowledgement::show(v, host, guasto.isEmpty() ? NessunaRisposta : PortaPersa);
    host.showOutcome(guasto.isEmpty() ? QStringLiteral("Errore seriale. Controlla identificativo")
                                      : guasto);
    ErrorAcknowledgement::waitForClick(v, host);
}

void segnalaRispostaNonValida(Variabili& v, OperationHost& host) {
    ErrorAcknowledgement::show(v, host, RispostaNonValida);
    host.showOutcome(QStringLiteral("Risposta non valida: controlla identificativo, cavo e "
                                    "velocità. Nulla è stato salvato"));
    ErrorAcknowledgement::waitForClick(v, host);
}

bool leggiTutti(Variabili& v, FormSeriale& seriale, OperationHost& host) {
    RunClock clock;
    host.showProgress({RunProgress::Phase::Lettura, {}, 0, NumeroIndirizzi});
    for (qint16 indirizzo = 0; indirizzo < NumeroIndirizzi; ++indirizzo) {
        const Esito esito = leggiIndirizzo(v, seriale, host, indirizzo);
        clock.exchangeDone();
        RunProgress progress{RunProgress::Phase::Lettura, v.NumeroFormattato, indirizzo + 1,
                             NumeroIndirizzi};
        progress.msLeft = clock.msLeft(NumeroIndirizzi - progress.done);
        host.showProgress(progress);
        switch (esito) {
        case Esito::Letto:
            continue;
        case Esito::NessunaRisposta:
            segnalaMancataRisposta(v, seriale, host);
            return false;
        case Esito::RispostaNonValida:
            segnalaRispostaNonValida(v, host);
            return false;
        }
    }
    return true;
}

} // namespace

OperationResult LeggiTuttiITesti(Variabili& v, FormSeriale& seriale, OperationHost& host) {
    if (!seriale.ApriSeriale()) {
        host.showOutcome(seriale.lastFailure());
        return OperationResult::CannotStart;
    }
    host.DisabilitaComandi();
    v.TestoMessaggi.clear();
    const bool letti = leggiTutti(v, seriale, host);
    if (letti) {
        host.showOutcome(QStringLiteral("letti tutti"));
        v.CommentoDaSalvare.clear();
        host.offerForSaving();
    }
    host.AbilitaComandi();
    seriale.ChiudiSeriale();
    return letti ? OperationResult::Succeeded : OperationResult::UnitFailed;
}
