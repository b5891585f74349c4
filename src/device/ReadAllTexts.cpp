#include "device/ReadAllTexts.h"

#include "core/Variabili.h"
#include "device/OperationHost.h"
#include "device/TreCifre.h"
#include "device/UnitTextEngine.h"
#include "files/RecordLayout.h"

OperationOutcome readAllTexts(Variabili& v, SerialExchange& exchange, OperationHost& host) {
    UnitTextEngine engine(v, exchange, host, FailureEnding::Wording::ReadingAll);
    if (!engine.open(QStringLiteral("Leggi Testi dal TARVO"),
                     UnitTextEngine::CommandsOff::OnceOpen))
        return engine.outcome();
    v.TestoMessaggi.clear();
    // A text that a line of the file could not hold is never offered.
    const auto took = [&v](int, int address, const QByteArray& text) {
        v.NumeroDaFormattare = qint16(address);
        TreCifre(v);
        v.Messaggi[size_t(address)] = text;
        v.TestoMessaggi += RecordLayout::fileLine(address, text);
        return QString();
    };
    if (engine.readEveryText(RunProgress::Phase::Reading, true, took)) {
        host.showOutcome(QStringLiteral("letti tutti"));
        v.CommentoDaSalvare.clear();
        host.offerForSaving();
    }
    return engine.outcome();
}
