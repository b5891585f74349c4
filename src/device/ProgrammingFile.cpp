#include "device/ProgrammingFile.h"

#include "core/Variabili.h"
#include "files/LocalFileName.h"

ProgrammingFile ProgrammingFile::read(const QString& path, Use use) {
    ProgrammingFile file;
    file.path = path;
    LeggiFileDaProgrammare reader(path);
    while (std::optional<ProgrammingRecord> record = reader.next()) {
        if (++file.recordCount <= Variabili::MessageSlots)
            file.records += std::move(*record);
    }
    if (!reader.error().isEmpty())
        file.problem = reader.error();
    else if (file.recordCount == 0)
        file.problem = noMessages(path);
    else if (file.recordCount > Variabili::MessageSlots)
        file.problem = overLimit(file.recordCount, use);
    return file;
}

QString ProgrammingFile::overLimit(int records, Use use) {
    const bool sending = use == Use::Sending;
    return QStringLiteral("Il file ha %1 messaggi, più dei %2 che si possono %3 in una volta: "
                          "nulla è stato %4. Dividi il file.")
        .arg(records)
        .arg(Variabili::MessageSlots)
        .arg(sending ? QStringLiteral("inviare") : QStringLiteral("confrontare"),
             sending ? QStringLiteral("inviato") : QStringLiteral("confrontato"));
}

QString ProgrammingFile::noMessages(const QString& path) {
    return QStringLiteral("nessun messaggio da inviare in %1 (nessuna riga comincia con un "
                          "indirizzo da 000 a 511)")
        .arg(LocalFileName::readable(path));
}
