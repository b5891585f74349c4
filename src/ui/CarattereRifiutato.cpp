#include "ui/CarattereRifiutato.h"

#include "core/Windows1252.h"

std::optional<CarattereRifiutato> primoCarattereRifiutato(const QString& testo) {
    int riga = 1;
    for (qsizetype i = 0; i < testo.size(); ++i) {
        if (testo.at(i) == u'\n') {
            ++riga;
            continue;
        }
        const qsizetype lunghezza = testo.at(i).isHighSurrogate() && i + 1 < testo.size() ? 2 : 1;
        const QString carattere = testo.mid(i, lunghezza);
        if (!Windows1252::encode(carattere))
            return CarattereRifiutato{carattere, riga};
    }
    return std::nullopt;
}
