#include "LettoreFileMessaggi.h"

#include <QDir>

LettoreFileMessaggi::LettoreFileMessaggi(const QString& percorso) : righe_(percorso) {}

bool LettoreFileMessaggi::apri(qsizetype lunghezzaCommento) {
    if (!righe_.apri())
        return false;
    const auto prima = righe_.leggi(lunghezzaCommento);
    if (!prima) {
        if (righe_.errore().isEmpty())
            erroreVuoto_ = QStringLiteral("Il file %1 è vuoto")
                               .arg(QDir::toNativeSeparators(righe_.percorso()));
        righe_.chiudi();
        return false;
    }
    if (prima->ultima)
        righe_.chiudi();
    else
        commento_ = prima->testo;
    return true;
}

std::optional<QByteArray> LettoreFileMessaggi::prossimaRiga(qsizetype lunghezzaMassima) {
    if (!righe_.isOpen())
        return std::nullopt;
    const auto riga = righe_.leggi(lunghezzaMassima);
    if (!riga || riga->ultima) {
        righe_.chiudi();
        return std::nullopt;
    }
    return riga->testo;
}

QString LettoreFileMessaggi::errore() const {
    if (!righe_.errore().isEmpty())
        return righe_.errore();
    return erroreVuoto_;
}
