#include "LeggiFileDaProgrammare.h"

#include "ProgrammingLine.h"

LeggiFileDaProgrammare::LeggiFileDaProgrammare(const QString& path) : lettore_(path) {}

std::optional<QByteArray> LeggiFileDaProgrammare::next() {
    if (!avviato_) {
        avviato_ = true;
        if (!lettore_.apri(0))
            return std::nullopt;
    }
    while (auto riga = lettore_.prossimaRiga(lunghezzaRecord)) {
        switch (judgeProgrammingLine(*riga).kind) {
        case ProgrammingLineKind::Terminator:
            lettore_.chiudi();
            return std::nullopt;
        case ProgrammingLineKind::Message:
            return messageRecord(*riga);
        default:
            break;
        }
    }
    return std::nullopt;
}

void LeggiFileDaProgrammare::stop() {
    avviato_ = true;
    lettore_.chiudi();
}
