// Splits arbitrary bytes into lines with two block sizes and compares
// with a plain in-memory split: CR LF, LF and CR each end one line.
#include "FuzzInput.h"
#include "files/LineReader.h"

#include <QList>

namespace {

struct Line {
    QByteArray text;
    bool last;
    bool operator==(const Line&) const = default;
};

QList<Line> split(const QByteArray& data, qsizetype maxLength) {
    QList<Line> lines;
    qsizetype i = 0;
    while (i < data.size()) {
        qsizetype end = i;
        while (end < data.size() && data[end] != '\r' && data[end] != '\n')
            ++end;
        Line line{data.mid(i, std::min(end - i, maxLength)), false};
        i = end;
        if (i < data.size())
            i += data.mid(i, 2) == "\r\n" ? 2 : 1;
        line.last = i >= data.size();
        lines.append(line);
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzInput::write(data, size);
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype maxLength = size > 0 ? data[0] % 80 : 0;
    const QList<Line> expected = split(content, maxLength);
    // A small block size, different from input to input, puts line ends on
    // block boundaries; the usual size reads the input in one block.
    const qsizetype small = size > 1 ? data[1] % 8 + 1 : 1;
    for (const qsizetype block : {small, qsizetype(64 * 1024)}) {
        LineReader reader(path, block);
        FuzzInput::check(reader.open(), "the file opens");
        QList<Line> got;
        while (const auto line = reader.read(maxLength))
            got.append({line->text, line->last});
        FuzzInput::check(got == expected, "lines as an in-memory split gives them");
        FuzzInput::check(reader.error().isEmpty(), "no read error");
    }
    return 0;
}
