#include "device/ProgrammaTesti.h"

#include "core/Variabili.h"
#include "device/ErrorAcknowledgement.h"
#include "device/Protocollo.h"
#include "device/StatusBoxes.h"
#include "files/LeggiFileDaProgrammare.h"
#include "serial/FormSeriale.h"
#include "ui/FormScriveMessaggi.h"

#include <QFile>

namespace {

const QByteArray ErroreRisposta = " Errore risposta ";
const QByteArray ErroreDati = "Errore Dati non scritti giusti.";
const QByteArray ErrorePorta = " Errore porta seriale ";
const QByteArray ErroreTroppiMessaggi = " Troppi messaggi nel file ";

class Programmazione {
  public:
    Programmazione(Variabili& v, FormSeriale& seriale, FormScriveMessaggi& finestra)
        : v(v), seriale(seriale), finestra(finestra) {}

    void run() {
        if (!seriale.ApriSeriale()) {
            StatusBoxes::show(finestra.Text2, seriale.lastFailure());
            return;
        }
        StatusBoxes::show(finestra.Text2, QByteArrayLiteral("Programmo scritte"));
        if (invia() && verifica())
            StatusBoxes::show(finestra.Text2, QByteArrayLiteral("DATI UGUALI  TUTTO OK "));
        seriale.ChiudiSeriale();
    }

  private:
    // Phase 1: every record of the file is stored and written in file order.
    bool invia() {
        LeggiFileDaProgrammare lettore(QFile::decodeName(v.FileSelezionato));
        while (const std::optional<QByteArray> record = lettore.next()) {
            if (conteggio == Variabili::DimensioneMessaggi) {
                lettore.stop();
                StatusBoxes::show(finestra.Text2,
                                  QStringLiteral("Il file ha più di %1 messaggi: scritti i primi "
                                                 "%1, non verificati. Dividi il file.")
                                      .arg(Variabili::DimensioneMessaggi));
                return fallito(ErroreTroppiMessaggi);
            }
            v.Messaggi[conteggio++] = *record;
            StatusBoxes::show(finestra.Text1, *record);
            v.Comando = Protocollo::frameScrittura(v.Identificativo, *record);
            v.LunghezzaRisposta = Protocollo::LunghezzaRispostaScrittura;
            seriale.InviaAllaSeriale();
            if (!Protocollo::scritturaConfermata(v.Risposta)) {
                lettore.stop();
                StatusBoxes::show(finestra.Text1, v.Risposta);
                return fallito(ErroreRisposta);
            }
        }
        if (!lettore.error().isEmpty()) {
            StatusBoxes::show(finestra.Text2, lettore.error());
            return false;
        }
        return true;
    }

    // Phase 2: every stored record is read back and compared exactly.
    bool verifica() {
        for (int indice = 0; indice < conteggio; ++indice) {
            const QByteArray& voce = v.Messaggi[indice];
            const QByteArray corpo = Protocollo::corpoLettura(voce.left(3));
            StatusBoxes::show(finestra.Text1, corpo);
            v.Comando = Protocollo::frameLettura(v.Identificativo, voce.left(3));
            v.LunghezzaRisposta = Protocollo::LunghezzaRispostaLettura;
            seriale.InviaAllaSeriale();
            const QByteArray letto = Protocollo::testoLetto(v.Risposta);
            const QByteArray atteso = voce.mid(3);
            StatusBoxes::show(finestra.Text1, atteso);
            StatusBoxes::show(finestra.Text2, letto);
            if (letto != atteso)
                return fallito(ErroreDati);
        }
        return true;
    }

    // The error ending: a port that stopped working is named as such rather
    // than as a refused write or wrong data.
    bool fallito(const QByteArray& testoErrore) {
        v.TestoErrore = testoErrore;
        if (!seriale.lastFailure().isEmpty()) {
            v.TestoErrore = ErrorePorta;
            StatusBoxes::show(finestra.Text2, seriale.lastFailure());
        }
        ErrorAcknowledgement::show(v, finestra, v.TestoErrore);
        ErrorAcknowledgement::waitForClick(v, finestra);
        return false;
    }

    Variabili& v;
    FormSeriale& seriale;
    FormScriveMessaggi& finestra;
    int conteggio = 0;
};

} // namespace

void ProgrammaTesti(Variabili& v, FormSeriale& seriale, FormScriveMessaggi& finestra) {
    Programmazione(v, seriale, finestra).run();
}
