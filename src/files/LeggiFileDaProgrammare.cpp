#include "LeggiFileDaProgrammare.h"

#include "RigaDiFine.h"

namespace {

// The address of a message line, or -1 when columns 1-3 are not three digits.
int indirizzo(const QByteArray& riga) {
    if (riga.size() < 3)
        return -1;
    int valore = 0;
    for (qsizetype i = 0; i < 3; ++i) {
        const char c = riga.at(i);
        if (c < '0' || c > '9')
            return -1;
        valore = valore * 10 + (c - '0');
    }
    return valore;
}

} // namespace

LeggiFileDaProgrammare::LeggiFileDaProgrammare(const QString& path) : lettore_(path) {}

std::optional<QByteArray> LeggiFileDaProgrammare::next() {
    if (!avviato_) {
        avviato_ = true;
        if (!lettore_.apri(0))
            return std::nullopt;
    }
    while (auto riga = lettore_.prossimaRiga(lunghezzaRecord)) {
        if (riga->isEmpty())
            continue;
        if (RigaDiFine(*riga)) {
            lettore_.chiudi();
            return std::nullopt;
        }
        const int valore = indirizzo(*riga);
        if (valore < 0 || valore > indirizzoMassimo)
            continue;
        return riga->leftJustified(lunghezzaRecord, ' ');
    }
    return std::nullopt;
}

void LeggiFileDaProgrammare::stop() {
    avviato_ = true;
    lettore_.chiudi();
}
