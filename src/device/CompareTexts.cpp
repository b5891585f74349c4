#include "device/CompareTexts.h"

#include "core/Variabili.h"
#include "device/FileTexts.h"
#include "device/ItalianCount.h"
#include "device/OperationHost.h"
#include "device/ProgrammingFile.h"
#include "device/UnitTextSession.h"
#include "files/LocalFileName.h"

OperationResult CompareTexts(Variabili& v, SerialExchange& exchange, OperationHost& host,
                             TextComparison& comparison) {
    comparison = {};
    UnitTextSession session(v, exchange, host);
    const ProgrammingFile read = ProgrammingFile::read(LocalFileName::decode(v.FileSelezionato),
                                                       ProgrammingFile::Use::Comparing);
    if (!session.accepts(read) ||
        !session.open(
            QStringLiteral("Confronta con il TARVO: %1").arg(LocalFileName::readable(read.path))))
        return session.result();
    const FileTexts file = FileTexts::of(read);
    const int count = int(file.addresses.size());
    session.beginPhase(RunProgress::Phase::Comparison, count);
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
    }
    host.showOutcome(comparison.counts());
    return session.result();
}

QString TextComparison::counts() const {
    return counted(equal, QStringLiteral("testo uguale"), QStringLiteral("testi uguali")) +
           QStringLiteral(", ") +
           counted(int(differing.size()), QStringLiteral("diverso"), QStringLiteral("diversi"));
}
