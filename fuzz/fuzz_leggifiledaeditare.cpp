// Reads arbitrary bytes as a file to edit: the display text is empty or ends in
// CR LF and its lines are 19 to 69 bytes; the records of the programming
// reader are the first 19 bytes of the displayed lines with an address 000-511;
// writing the comment and text and reading them again changes nothing.
#include "FuzzInput.h"
#include "files/LeggiFileDaEditare.h"
#include "files/LeggiFileDaProgrammare.h"
#include "files/ScriviFileMessaggi.h"

#include <QByteArrayList>

namespace {

QByteArrayList recordsOf(const QString& path) {
    QByteArrayList records;
    LeggiFileDaProgrammare reader(path);
    while (const auto record = reader.next())
        records.append(record->record);
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using FuzzInput::check;
    const QString path = FuzzInput::write(data, size);
    const EditorText read = LeggiFileDaEditare(path);
    check(read.error.isEmpty() == (size > 0), "only an empty file is an error");
    check(read.text.isEmpty() || read.text.endsWith("\r\n"), "text ends in CR LF");
    check(read.comment || read.text.isEmpty(), "no comment, no text");
    if (read.comment)
        check(!read.comment->contains('\r') && !read.comment->contains('\n'),
              "the comment is one line");

    QByteArrayList expected;
    QByteArrayList lines = read.text.split('\n');
    lines.removeLast();
    for (const QByteArray& line : lines) {
        check(line.endsWith('\r'), "display lines end in CR LF");
        const QByteArray shown = line.chopped(1);
        check(shown.size() >= 19 && shown.size() <= 69, "a display line is 19 to 69 bytes");
        check(!shown.contains('\r'), "no CR inside a display line");
        const int address = FuzzInput::address(shown);
        if (address >= 0 && address <= 511)
            expected.append(shown.left(19));
    }
    check(recordsOf(path) == expected, "records are the displayed message lines");

    if (read.comment) {
        const QString copy = FuzzInput::folder() + QStringLiteral("/copy.tvo");
        check(ScriviFileMessaggi(copy, *read.comment, read.text).ok(), "the text is written");
        const EditorText reread = LeggiFileDaEditare(copy);
        check(reread.comment == read.comment && reread.text == read.text,
              "written and read again, nothing changes");
        check(recordsOf(copy) == expected, "the written file gives the same records");
    }
    return 0;
}
