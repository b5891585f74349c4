#include "device/LineFinding.h"

#include "core/Windows1252.h"
#include "device/LineDiagnosis.h"

#include <QLocale>
#include <QStringList>

namespace {

QString identifier(const QByteArray& bytes) {
    return Windows1252::decode(bytes);
}

QString seconds(qint64 ms) {
    return QLocale(QLocale::Italian).toString(double(ms) / 1000.0, 'f', 2);
}

QString hexBytes(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

const QString EchoRemedy =
    QStringLiteral("È un adattatore RS-485 a due fili senza soppressione dell'eco, o TX unito a "
                   "RX. Con l'eco attivato (--eco in tarvo-cli, «Linea con eco» nel menu "
                   "Strumenti) una linea così si può usare");

const QString NetworkEchoRemedy =
    QStringLiteral("È il lato RS-485 a due fili del server seriale, senza soppressione dell'eco: "
                   "attivala nelle impostazioni del server, oppure attiva l'eco (--eco in "
                   "tarvo-cli, «Linea con eco» nel menu Strumenti)");

QString wording(const LineFinding& finding) {
    const QString typed = identifier(finding.typedIdentifier);
    switch (finding.kind) {
    case LineFinding::Kind::Answers:
        return QStringLiteral("L'unità %1 risponde in %2 ms%3.")
            .arg(typed)
            .arg(finding.replyMs)
            .arg(finding.lineEchoes
                     ? QStringLiteral(" (la linea ripete ogni trama e l'eco è attivato)")
                     : QString());
    case LineFinding::Kind::AnswersLate:
        if (finding.networkLine)
            return QStringLiteral("L'unità %1 risponde dopo %2 s, oltre gli 0,8 s concessi: "
                                  "un'unità occupata, una rete lenta o un server seriale che "
                                  "trattiene i byte per raccoglierli in pacchetti. Controlla "
                                  "che l'unità non stia facendo altro e che il server invii "
                                  "subito ciò che riceve.")
                .arg(typed, seconds(finding.replyMs));
        return QStringLiteral("L'unità %1 risponde dopo %2 s, oltre gli 0,8 s concessi: "
                              "un'unità occupata o un adattatore lento. Controlla che l'unità "
                              "non stia facendo altro e prova un altro adattatore o un'altra "
                              "porta.")
            .arg(typed, seconds(finding.replyMs));
    case LineFinding::Kind::EchoNotThere:
        return QStringLiteral("L'unità %1 risponde in %2 ms, ma l'eco è attivato e la linea "
                              "non ripete le trame: ogni scambio fallirebbe. Disattiva l'eco "
                              "(togli --eco in tarvo-cli, «Linea con eco» nel menu Strumenti).")
            .arg(typed)
            .arg(finding.replyMs);
    case LineFinding::Kind::Echoes:
        return QStringLiteral("La linea ripete ogni trama: la trama è tornata indietro byte per "
                              "byte, %1. %2%3.")
            .arg(finding.replyFollowed
                     ? QStringLiteral("seguita dalla risposta dell'unità dopo %1 ms")
                           .arg(finding.replyMs)
                     : QStringLiteral("senza una risposta dell'unità dopo"),
                 finding.networkLine ? NetworkEchoRemedy : EchoRemedy,
                 finding.replyFollowed
                     ? QString()
                     : QStringLiteral("; attivato l'eco, ripeti la diagnosi per sapere se "
                                      "l'unità risponde"));
    case LineFinding::Kind::OtherIdentifier:
        return QStringLiteral("Risponde %1, non %2: scrivi %1 come identificativo.")
            .arg(identifier(finding.answeringIdentifier), typed);
    case LineFinding::Kind::Garbled:
        if (finding.networkLine)
            return QStringLiteral("Arrivano byte che non formano una risposta: %1. Cause "
                                  "probabili: disturbi sulla linea, impostazioni del server "
                                  "seriale diverse da 9600 baud, 8 bit, nessuna parità, 1 stop, "
                                  "un cablaggio sbagliato fra il server e l'unità (TX e RX "
                                  "scambiati, massa mancante, A e B invertiti su RS-485).")
                .arg(hexBytes(finding.bytes));
        return QStringLiteral("Arrivano byte che non formano una risposta: %1. Cause probabili: "
                              "disturbi sulla linea, una velocità diversa da 9600 baud "
                              "nell'unità o nell'adattatore, un cablaggio sbagliato (TX e RX "
                              "scambiati, massa mancante, A e B invertiti su RS-485).")
            .arg(hexBytes(finding.bytes));
    case LineFinding::Kind::OnlyEcho:
        return QStringLiteral("La linea ripete ogni trama, come atteso con l'eco attivato, ma "
                              "l'unità non risponde: su %1 torna solo l'eco delle trame inviate. "
                              "Le trame arrivano all'adattatore ma non all'unità, o l'unità non "
                              "le capisce: controlla che l'unità sia accesa, che i fili A e B "
                              "arrivino all'unità e non siano invertiti, e che l'unità usi "
                              "9600 baud.")
            .arg(finding.adapter);
    case LineFinding::Kind::Silent:
        if (finding.networkLine)
            return QStringLiteral("Nessun byte ricevuto attraverso il server %1, che accetta "
                                  "la connessione. Controlla che l'unità sia accesa e collegata "
                                  "alla porta seriale del server, che quella porta sia impostata "
                                  "a 9600 baud, 8 bit, nessuna parità, 1 stop e che la porta TCP "
                                  "sia la sua.")
                .arg(finding.adapter);
        return QStringLiteral("Nessun byte ricevuto su %1. Controlla che l'unità sia accesa, "
                              "che il cavo sia collegato bene ai due capi e che la porta sia "
                              "quella a cui è collegata l'unità.")
            .arg(finding.adapter);
    case LineFinding::Kind::HeldElsewhere:
        return QStringLiteral("Nessun byte ricevuto: %1.").arg(finding.portProblem.text);
    case LineFinding::Kind::PortUnavailable:
    case LineFinding::Kind::PortLost:
        return finding.portProblem.text;
    case LineFinding::Kind::Interrupted:
        return QStringLiteral("Diagnosi interrotta prima di una conclusione.");
    }
    return {};
}

} // namespace

QString LineFinding::describe() const {
    QString text = wording(*this);
    if (!untried.isEmpty()) {
        QStringList names;
        for (const QByteArray& name : untried)
            names += identifier(name);
        text += QStringLiteral(" Non provati per il limite di %1 s: %2.")
                    .arg(LineDiagnosis::LimitMs / 1000)
                    .arg(names.join(QStringLiteral(", ")));
    }
    return text;
}
