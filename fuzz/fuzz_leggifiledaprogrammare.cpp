// Reads arbitrary bytes as a file to program: every record is 19 bytes with an
// address 000-511, the file is closed when reading ends, stopping after k
// records yields exactly the first k, and following the body lines with
// ProgrammingRun, as the editor does, names the very records the reader yields.
#include "FuzzInput.h"
#include "files/LeggiFileDaProgrammare.h"
#include "files/LineReader.h"
#include "files/ProgrammingRun.h"

#include <QByteArrayList>

#include <vector>

namespace {

// The records that ProgrammingRun says programming sends from the body lines
// before the file's last line.
QByteArrayList followed(const QString& path) {
    LineReader lines(path);
    const auto comment = lines.open() ? lines.read(0) : std::nullopt;
    QByteArrayList texts;
    std::vector<ProgrammingLine> judged;
    while (comment && !comment->last) {
        const auto line = lines.read(RecordLayout::recordLength);
        if (!line || line->last)
            break;
        texts += line->text;
        judged.push_back(judgeProgrammingLine(line->text));
    }
    ProgrammingRun run;
    run.follow(judged);
    QByteArrayList records;
    for (qsizetype i = 0; i < texts.size(); ++i)
        if (judged[size_t(i)].kind == ProgrammingLineKind::Message && !run.line(i).fromTerminatorOn)
            records += messageRecord(texts[i]);
    FuzzInput::check(run.sent() == records.size(), "the run counts what it sends");
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using FuzzInput::check;
    const QString path = FuzzInput::write(data, size);

    QByteArrayList all;
    {
        LeggiFileDaProgrammare reader(path);
        while (const auto record = reader.next()) {
            check(record->record.size() == RecordLayout::recordLength, "a record is 19 bytes");
            const int address = FuzzInput::address(record->record);
            check(address >= 0 && address <= 511, "a record begins with 000-511");
            check(record->address == address, "the address given is the record's");
            all.append(record->record);
        }
        check(!reader.isOpen(), "the file is closed once reading stops");
        check(reader.error().isEmpty() == (size > 0), "only an empty file is an error");
        check(!reader.next(), "nothing after the end");
    }

    check(followed(path) == all, "the run names the records the reader yields");

    const qsizetype stopAfter = all.isEmpty() ? 0 : qsizetype(data[0]) % all.size();
    LeggiFileDaProgrammare reader(path);
    for (qsizetype i = 0; i < stopAfter; ++i) {
        const auto record = reader.next();
        check(record && record->record == all[i], "the same records in the same order");
    }
    reader.stop();
    check(!reader.isOpen(), "stop() closes the file");
    check(!reader.next(), "nothing after stop()");
    return 0;
}
