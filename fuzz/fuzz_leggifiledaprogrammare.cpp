// Reads arbitrary bytes as a file to program: every record is 19 bytes with an
// address 000-511, the file is closed when reading ends, and stopping after k
// records yields exactly the first k.
#include "FileDiProva.h"
#include "files/LeggiFileDaProgrammare.h"

#include <QByteArrayList>

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

    const qsizetype fermata = tutti.isEmpty() ? 0 : qsizetype(dati[0]) % tutti.size();
    LeggiFileDaProgrammare lettore(percorso);
    for (qsizetype i = 0; i < fermata; ++i)
        verifica(lettore.next() == tutti[i], "the same records in the same order");
    lettore.stop();
    verifica(!lettore.isOpen(), "stop() closes the file");
    verifica(!lettore.next(), "nothing after stop()");
    return 0;
}
