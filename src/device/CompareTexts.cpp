#include "device/CompareTexts.h"

#include "core/Variabili.h"
#include "device/FileTexts.h"
#include "device/OperationHost.h"
#include "device/UnitTextSession.h"
#include "files/LocalFileName.h"

OperationResult CompareTexts(Variabili& v, SerialExchange& exchange, OperationHost& host,
                             TextComparison& comparison) {
    comparison = {};
    UnitTextSession session(v, exchange, host);
    FileTexts file;
    if (!session.readFile(LocalFileName::decode(v.FileSelezionato), file) ||
        !session.open(QStringLiteral("Confronta con il TARVO: %1")
                          .arg(LocalFileName::readable(LocalFileName::decode(v.FileSelezionato)))))
        return session.result();
    const int count = int(file.addresses.size());
    for (int index = 0; index < count; ++index) {
        const int address = file.addresses[index];
        const std::optional<QByteArray> text = session.read(address);
        if (!text)
            return session.result();
        session.note(file.comparisonNote(address, *text, false));
        if (*text == file.text(address))
            ++comparison.equal;
        else
            comparison.differing += {address, file.text(address), *text};
        session.reportProgress(RunProgress::Phase::Comparison, address, index + 1, count,
                               count - index - 1);
    }
    host.showOutcome(QStringLiteral("%1 testi uguali, %2 diversi")
                         .arg(comparison.equal)
                         .arg(comparison.differing.size()));
    return session.result();
}
