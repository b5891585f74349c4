// Splits arbitrary bytes into lines with two block sizes and compares
// with a plain in-memory split: CR LF, LF and CR each end one line.
#include "FileDiProva.h"
#include "files/LettoreRighe.h"

#include <QList>

namespace {

struct Riga {
    QByteArray testo;
    bool ultima;
    bool operator==(const Riga&) const = default;
};

QList<Riga> divisione(const QByteArray& dati, qsizetype massimo) {
    QList<Riga> righe;
    qsizetype i = 0;
    while (i < dati.size()) {
        qsizetype fine = i;
        while (fine < dati.size() && dati[fine] != '\r' && dati[fine] != '\n')
            ++fine;
        Riga riga{dati.mid(i, std::min(fine - i, massimo)), false};
        i = fine;
        if (i < dati.size())
            i += dati.mid(i, 2) == "\r\n" ? 2 : 1;
        riga.ultima = i >= dati.size();
        righe.append(riga);
    }
    return righe;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione) {
    const QString percorso = FileDiProva::scrivi(dati, dimensione);
    const QByteArray contenuto(reinterpret_cast<const char*>(dati), qsizetype(dimensione));
    const qsizetype massimo = dimensione > 0 ? dati[0] % 80 : 0;
    const QList<Riga> attese = divisione(contenuto, massimo);
    // A small block size, different from input to input, puts line ends on
    // block boundaries; the usual size reads the input in one block.
    const qsizetype piccolo = dimensione > 1 ? dati[1] % 8 + 1 : 1;
    for (const qsizetype blocco : {piccolo, qsizetype(64 * 1024)}) {
        LettoreRighe lettore(percorso, blocco);
        FileDiProva::verifica(lettore.apri(), "the file opens");
        QList<Riga> lette;
        while (const auto riga = lettore.leggi(massimo))
            lette.append({riga->testo, riga->ultima});
        FileDiProva::verifica(lette == attese, "lines as an in-memory split gives them");
        FileDiProva::verifica(lettore.errore().isEmpty(), "no read error");
    }
    return 0;
}
