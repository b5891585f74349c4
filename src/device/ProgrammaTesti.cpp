#include "device/ProgrammaTesti.h"

#include "core/Variabili.h"
#include "device/OperationHost.h"
#include "device/ProgrammingFile.h"
#include "device/UnitTextEngine.h"
#include "files/LocalFileName.h"

#include <array>

namespace {

// Every record is read back in the order written, and compared exactly with
// the text the file leaves at its address: the last one given there, since
// each write replaces the one before.
QList<UnitTextEngine::Expected> lastTexts(const ProgrammingFile& file) {
    std::array<QByteArray, RecordLayout::addressCount> lastText;
    for (const ProgrammingRecord& record : file.records)
        lastText[size_t(record.address)] = record.text();
    QList<UnitTextEngine::Expected> expected;
    for (const ProgrammingRecord& record : file.records)
        expected += {record.address, lastText[size_t(record.address)]};
    return expected;
}

} // namespace

OperationOutcome ProgrammaTesti(Variabili& v, SerialExchange& exchange, OperationHost& host,
                                const QString& path) {
    return programFile(v, exchange, host, ProgrammingFile::read(path));
}

OperationOutcome programFile(Variabili& v, SerialExchange& exchange, OperationHost& host,
                             const ProgrammingFile& file) {
    UnitTextEngine engine(v, exchange, host);
    // A file that cannot be read, holds no message or does not fit the
    // message table is refused before the port opens: nothing of it reaches
    // the unit.
    if (!engine.accepts(file) ||
        !engine.open(
            QStringLiteral("Invia file al TARVO: %1").arg(LocalFileName::readable(file.path))))
        return engine.outcome();
    host.showOutcome(QStringLiteral("Programmo scritte"));
    // Every record of the file is stored and written in file order.
    QList<QByteArray> records;
    for (const ProgrammingRecord& record : file.records)
        records += record.record;
    const auto store = [&](int index) { v.Messaggi[size_t(index)] = records[index]; };
    if (engine.writeRecords({records, store, {}}) && engine.verify(lastTexts(file)))
        host.showOutcome(QStringLiteral("DATI UGUALI  TUTTO OK "));
    return engine.outcome();
}
