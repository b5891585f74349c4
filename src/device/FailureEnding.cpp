#include "device/FailureEnding.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/ErrorAcknowledgement.h"
#include "device/OperationHost.h"

namespace {

using Kind = RunFailure::Kind;
using Phase = RunProgress::Phase;

QByteArray programmingError(const RunFailure& failure) {
    if (failure.kind == Kind::PortLost)
        return " Errore porta seriale ";
    if (failure.kind == Kind::TextNotStorable)
        return "Testo del TARVO non salvabile.";
    if (failure.phase == Phase::Verifying)
        return "Errore Dati non scritti giusti.";
    return " Errore risposta ";
}

void endProgramming(Variabili& v, OperationHost& host, const RunFailure& failure) {
    // A write or read that the unit did not answer with a text shows what
    // came instead; a read-back has shown both texts already.
    const bool replyShown = failure.phase == Phase::Writing || failure.phase == Phase::Backup ||
                            failure.phase == Phase::Comparison;
    if (replyShown && failure.kind != Kind::TextNotStorable)
        host.showSending(Windows1252::decode(v.Risposta));
    // Before anything is written the lower box is this operation's own: it
    // says what stopped the reading, and that the unit is untouched.
    if (failure.kind == Kind::PortLost)
        host.showOutcome(failure.port.text);
    else if (failure.phase == Phase::Backup || failure.phase == Phase::Comparison)
        host.showOutcome(failure.readingStopped());
    host.showFailure(failure);
    ErrorAcknowledgement::show(v, host, programmingError(failure));
    ErrorAcknowledgement::waitForClick(v, host);
}

struct ReadingTexts {
    QByteArray error;
    QString outcome;
};

ReadingTexts readingTexts(const RunFailure& failure) {
    switch (failure.kind) {
    case Kind::PortLost:
        return {"Porta seriale persa.", failure.port.text};
    case Kind::InvalidReply:
        return {"Risposta del TARVO non valida.",
                QStringLiteral("Risposta non valida: controlla identificativo, cavo e "
                               "velocità. Nulla è stato salvato")};
    case Kind::UnexpectedEcho:
        return {"Risposta del TARVO non valida.",
                QStringLiteral("La linea ripete le trame: attiva «Linea con eco» nel menu "
                               "Strumenti. Nulla è stato salvato")};
    case Kind::EchoDiffers:
        return {"Eco della linea sbagliata.",
                QStringLiteral("La linea non ha ripetuto la trama così come è stata inviata: "
                               "controlla l'impostazione dell'eco e il cavo. Nulla è stato "
                               "salvato")};
    case Kind::TextNotStorable:
        return {"Testo del TARVO non salvabile.",
                QStringLiteral("Il testo letto all'indirizzo %1 va a capo (byte %2): una riga di "
                               "un file .tvo non può tenerlo. Nulla è stato salvato")
                    .arg(QString::fromLatin1(failure.address),
                         QString::fromLatin1(failure.received.toHex(' ').toUpper()))};
    case Kind::NoReply:
    case Kind::RefusedWrite:
    case Kind::TextDiffers:
        break;
    }
    return {"Il TARVO non risponde.", QStringLiteral("Errore seriale. Controlla identificativo")};
}

// The lower box tells what to do once the error is held.
void endReadingAll(Variabili& v, OperationHost& host, const RunFailure& failure) {
    const ReadingTexts texts = readingTexts(failure);
    host.showFailure(failure);
    ErrorAcknowledgement::show(v, host, texts.error);
    host.showOutcome(texts.outcome);
    ErrorAcknowledgement::waitForClick(v, host);
}

} // namespace

namespace FailureEnding {

void end(Variabili& v, OperationHost& host, const RunFailure& failure, Wording wording) {
    if (wording == Wording::Programming)
        endProgramming(v, host, failure);
    else
        endReadingAll(v, host, failure);
}

} // namespace FailureEnding
