#include "LeggiFileDaEditare.h"

#include "LettoreFileMessaggi.h"
#include "NumeroIniziale.h"
#include "RigaDiFine.h"

#include <algorithm>
#include <limits>

namespace {
constexpr qsizetype colonneAllineate = 19;
constexpr qsizetype colonneMostrate = 69;
constexpr double numeroMassimo = 511.0;

bool mostrata(const QByteArray& riga) {
    return !riga.isEmpty() && !riga.startsWith("---") &&
           NumeroIniziale(QByteArrayView(riga).first(std::min<qsizetype>(riga.size(), 3))) <=
               numeroMassimo;
}
} // namespace

TestoDaEditare LeggiFileDaEditare(const QString& path) {
    TestoDaEditare risultato;
    LettoreFileMessaggi lettore(path);
    if (!lettore.apri(std::numeric_limits<qsizetype>::max())) {
        risultato.error = lettore.errore();
        return risultato;
    }
    while (auto riga = lettore.prossimaRiga(colonneMostrate)) {
        if (RigaDiFine(*riga))
            break;
        if (!mostrata(*riga))
            continue;
        risultato.testo += riga->leftJustified(colonneAllineate, ' ');
        risultato.testo += "\r\n";
    }
    if (!lettore.errore().isEmpty())
        return TestoDaEditare{std::nullopt, {}, lettore.errore()};
    risultato.commento = lettore.commento();
    return risultato;
}
