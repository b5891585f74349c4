// Reads arbitrary bytes as a file to edit: the display text is empty or ends in
// CR LF and its lines are 19 to 69 bytes; the records of the programming
// reader are the first 19 bytes of the displayed lines with an address 000-511;
// writing the comment and text and reading them again changes nothing.
#include "FileDiProva.h"
#include "files/LeggiFileDaEditare.h"
#include "files/LeggiFileDaProgrammare.h"
#include "files/ScriviFileMessaggi.h"

#include <QByteArrayList>

namespace {

QByteArrayList recordDi(const QString& percorso) {
    QByteArrayList record;
    LeggiFileDaProgrammare lettore(percorso);
    while (const auto r = lettore.next())
        record.append(*r);
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione) {
    using FileDiProva::verifica;
    const QString percorso = FileDiProva::scrivi(dati, dimensione);
    const TestoDaEditare letto = LeggiFileDaEditare(percorso);
    verifica(letto.error.isEmpty() == (dimensione > 0), "only an empty file is an error");
    verifica(letto.testo.isEmpty() || letto.testo.endsWith("\r\n"), "text ends in CR LF");
    verifica(letto.commento || letto.testo.isEmpty(), "no comment, no text");
    if (letto.commento)
        verifica(!letto.commento->contains('\r') && !letto.commento->contains('\n'),
                 "the comment is one line");

    QByteArrayList attesi;
    QByteArrayList righe = letto.testo.split('\n');
    righe.removeLast();
    for (const QByteArray& riga : righe) {
        verifica(riga.endsWith('\r'), "display lines end in CR LF");
        const QByteArray linea = riga.chopped(1);
        verifica(linea.size() >= 19 && linea.size() <= 69, "a display line is 19 to 69 bytes");
        verifica(!linea.contains('\r'), "no CR inside a display line");
        const int indirizzo = FileDiProva::indirizzo(linea);
        if (indirizzo >= 0 && indirizzo <= 511)
            attesi.append(linea.left(19));
    }
    verifica(recordDi(percorso) == attesi, "records are the displayed message lines");

    if (letto.commento) {
        const QString copia = FileDiProva::cartella() + QStringLiteral("/copia.tvo");
        verifica(ScriviFileMessaggi(copia, *letto.commento, letto.testo).isEmpty(),
                 "the text is written");
        const TestoDaEditare riletto = LeggiFileDaEditare(copia);
        verifica(riletto.commento == letto.commento && riletto.testo == letto.testo,
                 "written and read again, nothing changes");
        verifica(recordDi(copia) == attesi, "the written file gives the same records");
    }
    return 0;
}
