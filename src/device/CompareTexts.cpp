#include "device/CompareTexts.h"

#include "core/Variabili.h"
#include "device/FileTexts.h"
#include "device/ItalianCount.h"
#include "device/OperationHost.h"
#include "device/ProgrammingFile.h"
#include "device/UnitTextEngine.h"
#include "files/LocalFileName.h"

OperationOutcome CompareTexts(Variabili& v, SerialExchange& exchange, OperationHost& host,
                              const QString& path, TextComparison& comparison) {
    comparison = {};
    UnitTextEngine engine(v, exchange, host);
    const ProgrammingFile read = ProgrammingFile::read(path, ProgrammingFile::Use::Comparing);
    if (!engine.accepts(read) ||
        !engine.open(
            QStringLiteral("Confronta con il TARVO: %1").arg(LocalFileName::readable(read.path))))
        return engine.outcome();
    const FileTexts file = FileTexts::of(read);
    const auto took = [&](int, int address, const QByteArray& text) {
        if (text == file.text(address))
            ++comparison.equal;
        else
            comparison.differing += {address, file.text(address), text};
        return file.comparisonNote(address, text, false);
    };
    if (engine.readAddresses({RunProgress::Phase::Comparison, file.addresses}, took))
        host.showOutcome(comparison.counts());
    return engine.outcome();
}

QString TextComparison::counts() const {
    return counted(equal, QStringLiteral("testo uguale"), QStringLiteral("testi uguali")) +
           QStringLiteral(", ") +
           counted(int(differing.size()), QStringLiteral("diverso"), QStringLiteral("diversi"));
}
