// Reads arbitrary bytes as a file to program: every record is 19 bytes with an
// address 000-511, the file is closed when reading ends, stopping after k
// records yields exactly the first k, and following the body lines with
// ProgrammingRun, as the editor does, names the very records the reader yields.
#include "FileDiProva.h"
#include "files/LeggiFileDaProgrammare.h"
#include "files/LettoreRighe.h"
#include "files/ProgrammingRun.h"

#include <QByteArrayList>

#include <vector>

namespace {

// The records that ProgrammingRun says programming sends from the body lines
// before the file's last line.
QByteArrayList followed(const QString& percorso) {
    LettoreRighe righe(percorso);
    const auto commento = righe.apri() ? righe.leggi(0) : std::nullopt;
    QByteArrayList testi;
    std::vector<ProgrammingLine> giudicate;
    while (commento && !commento->ultima) {
        const auto riga = righe.leggi(ProgrammingLine::recordLength);
        if (!riga || riga->ultima)
            break;
        testi += riga->testo;
        giudicate.push_back(judgeProgrammingLine(riga->testo));
    }
    ProgrammingRun run;
    run.follow(giudicate);
    QByteArrayList record;
    for (qsizetype i = 0; i < testi.size(); ++i)
        if (giudicate[size_t(i)].kind == ProgrammingLineKind::Message &&
            !run.line(i).fromTerminatorOn)
            record += messageRecord(testi[i]);
    FileDiProva::verifica(run.sent() == record.size(), "the run counts what it sends");
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione) {
    using FileDiProva::verifica;
    const QString percorso = FileDiProva::scrivi(dati, dimensione);

    QByteArrayList tutti;
    {
        LeggiFileDaProgrammare lettore(percorso);
        while (const auto record = lettore.next()) {
            verifica(record->size() == LeggiFileDaProgrammare::lunghezzaRecord,
                     "a record is 19 bytes");
            const int indirizzo = FileDiProva::indirizzo(*record);
            verifica(indirizzo >= 0 && indirizzo <= 511, "a record begins with 000-511");
            tutti.append(*record);
        }
        verifica(!lettore.isOpen(), "the file is closed once reading stops");
        verifica(lettore.error().isEmpty() == (dimensione > 0), "only an empty file is an error");
        verifica(!lettore.next(), "nothing after the end");
    }

    verifica(followed(percorso) == tutti, "the run names the records the reader yields");

    const qsizetype fermata = tutti.isEmpty() ? 0 : qsizetype(dati[0]) % tutti.size();
    LeggiFileDaProgrammare lettore(percorso);
    for (qsizetype i = 0; i < fermata; ++i)
        verifica(lettore.next() == tutti[i], "the same records in the same order");
    lettore.stop();
    verifica(!lettore.isOpen(), "stop() closes the file");
    verifica(!lettore.next(), "nothing after stop()");
    return 0;
}
