#include "LeggiFileDaEditare.h"

#include "LeadingNumber.h"
#include "MessageFileReader.h"
#include "RecordLayout.h"
#include "TerminatorLine.h"

#include <algorithm>
#include <limits>

namespace {
constexpr qsizetype alignedColumns = RecordLayout::recordLength;
constexpr qsizetype shownColumns = 69;
constexpr double highestNumber = RecordLayout::highestAddress;

bool isShown(const QByteArray& line) {
    return !line.isEmpty() && !line.startsWith("---") &&
           leadingNumber(QByteArrayView(line).first(
               std::min<qsizetype>(line.size(), RecordLayout::addressDigits))) <= highestNumber;
}

void hide(EditorText& result, int number, const QByteArray& line) {
    if (result.hiddenLines.size() < EditorText::keptHiddenLines)
        result.hiddenLines.append({number, line});
    ++result.hiddenCount;
}
} // namespace

EditorText LeggiFileDaEditare(const QString& path) {
    EditorText result;
    MessageFileReader reader(path);
    if (!reader.open(std::numeric_limits<qsizetype>::max())) {
        result.error = reader.error();
        return result;
    }
    int number = 1;
    bool ended = false;
    while (auto line = reader.nextLine(shownColumns)) {
        ++number;
        ended = ended || isTerminatorLine(*line);
        if (ended || !isShown(*line)) {
            hide(result, number, *line);
            continue;
        }
        result.text += line->leftJustified(alignedColumns, ' ');
        result.text += "\r\n";
    }
    if (!reader.error().isEmpty())
        return EditorText{std::nullopt, {}, reader.error(), 0, {}};
    // The last line is never shown, whatever it holds.
    if (reader.lastLine())
        hide(result, number + 1, *reader.lastLine());
    result.comment = reader.comment();
    return result;
}
