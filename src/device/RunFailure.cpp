#include "device/RunFailure.h"

namespace {

QString problemOf(const RunFailure& failure, const QString& where) {
    switch (failure.kind) {
    case RunFailure::Kind::NoReply:
        return QStringLiteral("l'unità non risponde %1. Controlla identificativo, cavo e porta")
            .arg(where);
    case RunFailure::Kind::RefusedWrite:
        return QStringLiteral("l'unità ha rifiutato il testo dell'indirizzo %1")
            .arg(QString::fromLatin1(failure.address));
    case RunFailure::Kind::InvalidReply:
        return QStringLiteral("risposta non valida %1. Controlla identificativo, cavo e velocità")
            .arg(where);
    case RunFailure::Kind::TextDiffers:
        return QStringLiteral("il testo riletto %1 non è quello scritto").arg(where);
    case RunFailure::Kind::TextNotStorable:
        return QStringLiteral("il testo letto %1 va a capo (byte %2): una riga di un file .tvo non "
                              "può tenerlo")
            .arg(where, QString::fromLatin1(failure.received.toHex(' ').toUpper()));
    case RunFailure::Kind::PortLost:
        return QStringLiteral("%1 (%2)").arg(failure.port.text, where);
    case RunFailure::Kind::UnexpectedEcho:
        return QStringLiteral("la linea ripete le trame %1: in risposta è tornata la trama inviata "
                              "(un adattatore RS-485 a due fili senza soppressione dell'eco, o TX "
                              "unito a RX). Attiva «Linea con eco» nel menu Strumenti (--eco in "
                              "tarvo-cli)")
            .arg(where);
    case RunFailure::Kind::EchoDiffers:
        return QStringLiteral("la linea non ha ripetuto la trama così come è stata inviata %1 "
                              "(ricevuti i byte %2): la linea non ha eco, o disturba. Controlla "
                              "l'impostazione dell'eco e il cavo")
            .arg(where, QString::fromLatin1(failure.received.toHex(' ').toUpper()));
    }
    return {};
}

} // namespace

RunFailure RunFailure::of(const ExchangeReply& reply, RunFailure answered) {
    using Status = ExchangeReply::Status;
    if (reply.status == Status::PortLost) {
        answered.kind = Kind::PortLost;
    } else if (reply.status == Status::EchoDiffers) {
        answered.kind = Kind::EchoDiffers;
        answered.received = reply.bytes;
    } else if (reply.echoed) {
        answered.kind = Kind::UnexpectedEcho;
        answered.received = reply.bytes;
    } else if (reply.status != Status::Answered) {
        answered.kind = Kind::NoReply;
    }
    return answered;
}

QString RunFailure::leftBehind(RunProgress::Phase phase) {
    switch (phase) {
    case RunProgress::Phase::Writing:
        return QStringLiteral("l'unità può avere solo una parte dei testi, non verificati");
    case RunProgress::Phase::Verifying:
        return QStringLiteral("testi scritti, verifica non completata");
    case RunProgress::Phase::Reading:
        return QStringLiteral("nulla è stato salvato");
    case RunProgress::Phase::Backup:
        return QStringLiteral("la copia non è stata salvata e nessun testo è stato scritto");
    case RunProgress::Phase::Comparison:
        return QStringLiteral("nessun testo è stato scritto");
    }
    return {};
}

QString RunFailure::problem() const {
    return problemOf(*this, RunProgress::during(phase) + QStringLiteral(", all'indirizzo ") +
                                QString::fromLatin1(address));
}

QString RunFailure::problemAt(const QString& where) const {
    return problemOf(*this, where);
}

QString RunFailure::describe() const {
    QString sentence = problem() + QStringLiteral("; ") + leftBehind(phase) + QLatin1Char('.');
    sentence[0] = sentence[0].toUpper();
    return sentence;
}

QString RunFailure::readingStopped() const {
    QString what = QStringLiteral("Errore seriale all'indirizzo %1. Controlla identificativo");
    if (kind == Kind::TextNotStorable)
        what = QStringLiteral("Testo che va a capo all'indirizzo %1");
    else if (kind == Kind::InvalidReply)
        what = QStringLiteral("Risposta non valida all'indirizzo %1");
    else if (kind == Kind::UnexpectedEcho)
        what = QStringLiteral("La linea ripete le trame all'indirizzo %1: attiva «Linea con eco» "
                              "nel menu Strumenti");
    return what.arg(QString::fromLatin1(address)) + QStringLiteral(". Nessun testo scritto");
}
