#include "device/ProgrammingPreflight.h"

#include "core/Variabili.h"
#include "files/LeggiFileDaProgrammare.h"
#include "files/LocalFileName.h"

ProgrammingPreflight ProgrammingPreflight::check(const QString& path) {
    ProgrammingPreflight result;
    LeggiFileDaProgrammare reader(path);
    while (reader.next())
        ++result.records;
    if (!reader.error().isEmpty())
        result.problem = reader.error();
    else if (result.records == 0)
        result.problem = noMessages(path);
    else if (result.records > Variabili::MessageSlots)
        result.problem = overLimit(result.records);
    return result;
}

QString ProgrammingPreflight::overLimit(int records) {
    return QStringLiteral("Il file ha %1 messaggi, più dei %2 che si possono inviare in una volta: "
                          "nulla è stato inviato. Dividi il file.")
        .arg(records)
        .arg(Variabili::MessageSlots);
}

QString ProgrammingPreflight::noMessages(const QString& path) {
    return QStringLiteral("nessun messaggio da inviare in %1 (nessuna riga comincia con un "
                          "indirizzo da 000 a 511)")
        .arg(LocalFileName::readable(path));
}
