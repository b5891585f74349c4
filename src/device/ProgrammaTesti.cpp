#include "device/ProgrammaTesti.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/ErrorAcknowledgement.h"
#include "device/OperationHost.h"
#include "device/Protocollo.h"
#include "files/LeggiFileDaProgrammare.h"
#include "serial/FormSeriale.h"

#include <QFile>

namespace {

const QByteArray ErroreRisposta = " Errore risposta ";
const QByteArray ErroreDati = "Errore Dati non scritti giusti.";
const QByteArray ErrorePorta = " Errore porta seriale ";
const QByteArray ErroreTroppiMessaggi = " Troppi messaggi nel file ";

class Programmazione {
  public:
    Programmazione(Variabili& v, FormSeriale& seriale, OperationHost& host)
        : v(v), seriale(seriale), host(host) {}

    OperationResult run() {
        if (!seriale.ApriSeriale()) {
            host.showOutcome(seriale.lastFailure());
            return OperationResult::CannotStart;
        }
        host.showOutcome(QStringLiteral("Programmo scritte"));
        m_result = OperationResult::Succeeded;
        if (invia() && verifica())
            host.showOutcome(QStringLiteral("DATI UGUALI  TUTTO OK "));
        seriale.ChiudiSeriale();
        return m_result;
    }

  private:
    // Phase 1: every record of the file is stored and written in file order.
    bool invia() {
        LeggiFileDaProgrammare lettore(QFile::decodeName(v.FileSelezionato));
        reportWriting(lettore, {});
        while (const std::optional<QByteArray> record = lettore.next()) {
            if (conteggio == Variabili::DimensioneMessaggi) {
                lettore.stop();
                host.showOutcome(QStringLiteral("Il file ha più di %1 messaggi: scritti i primi "
                                                "%1, non verificati. Dividi il file.")
                                     .arg(Variabili::DimensioneMessaggi));
                m_result = OperationResult::CannotStart;
                return fallito(ErroreTroppiMessaggi);
            }
            v.Messaggi[conteggio++] = *record;
            host.showSending(Windows1252::decode(*record));
            v.Comando = Protocollo::frameScrittura(v.Identificativo, *record);
            v.LunghezzaRisposta = Protocollo::LunghezzaRispostaScrittura;
            seriale.InviaAllaSeriale();
            m_clock.exchangeDone();
            reportWriting(lettore, record->left(3));
            if (!Protocollo::scritturaConfermata(v.Risposta)) {
                lettore.stop();
                host.showSending(Windows1252::decode(v.Risposta));
                return fallito(ErroreRisposta);
            }
        }
        if (!lettore.error().isEmpty()) {
            host.showOutcome(lettore.error());
            m_result = OperationResult::CannotStart;
            return false;
        }
        return true;
    }

    // Phase 2: every stored record is read back and compared exactly.
    bool verifica() {
        for (int indice = 0; indice < conteggio; ++indice) {
            const QByteArray& voce = v.Messaggi[indice];
            const QByteArray corpo = Protocollo::corpoLettura(voce.left(3));
            host.showSending(Windows1252::decode(corpo));
            v.Comando = Protocollo::frameLettura(v.Identificativo, voce.left(3));
            v.LunghezzaRisposta = Protocollo::LunghezzaRispostaLettura;
            seriale.InviaAllaSeriale();
            m_clock.exchangeDone();
            RunProgress progress{RunProgress::Phase::Verifica, voce.left(3), indice + 1, conteggio};
            progress.msLeft = m_clock.msLeft(conteggio - progress.done);
            host.showProgress(progress);
            const QByteArray letto = Protocollo::testoLetto(v.Risposta);
            const QByteArray atteso = voce.mid(3);
            host.showSending(Windows1252::decode(atteso));
            host.showOutcome(Windows1252::decode(letto));
            if (letto != atteso)
                return fallito(ErroreDati);
        }
        return true;
    }

    // Where the writing stands. The file is read as the records are sent, so
    // their number is estimated from the share of the file read so far.
    void reportWriting(const LeggiFileDaProgrammare& lettore, const QByteArray& address) {
        RunProgress progress{RunProgress::Phase::Scrittura, address, conteggio};
        const double fraction = lettore.fractionRead();
        if (fraction > 0) {
            progress.total = qMax(conteggio, qRound(conteggio / fraction));
            progress.totalEstimated = lettore.isOpen();
            // Every record written is read back once more.
            progress.msLeft = m_clock.msLeft(2 * progress.total - conteggio);
        }
        host.showProgress(progress);
    }

    // The error ending: a port that stopped working is named as such rather
    // than as a refused write or wrong data.
    bool fallito(const QByteArray& testoErrore) {
        v.TestoErrore = testoErrore;
        if (m_result == OperationResult::Succeeded)
            m_result = OperationResult::UnitFailed;
        if (!seriale.lastFailure().isEmpty()) {
            v.TestoErrore = ErrorePorta;
            m_result = OperationResult::UnitFailed;
            host.showOutcome(seriale.lastFailure());
        }
        ErrorAcknowledgement::show(v, host, v.TestoErrore);
        ErrorAcknowledgement::waitForClick(v, host);
        return false;
    }

    Variabili& v;
    FormSeriale& seriale;
    OperationHost& host;
    int conteggio = 0;
    RunClock m_clock;
    OperationResult m_result = OperationResult::Succeeded;
};

} // namespace

OperationResult ProgrammaTesti(Variabili& v, FormSeriale& seriale, OperationHost& host) {
    return Programmazione(v, seriale, host).run();
}
