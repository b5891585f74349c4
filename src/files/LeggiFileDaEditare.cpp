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
} // namespace

EditorText LeggiFileDaEditare(const QString& path) {
    EditorText result;
    MessageFileReader reader(path);
    if (!reader.open(std::numeric_limits<qsizetype>::max())) {
        result.error = reader.error();
        return result;
    }
    while (auto line = reader.nextLine(shownColumns)) {
        if (isTerminatorLine(*line))
            break;
        if (!isShown(*line))
            continue;
        result.text += line->leftJustified(alignedColumns, ' ');
        result.text += "\r\n";
    }
    if (!reader.error().isEmpty())
        return EditorText{std::nullopt, {}, reader.error()};
    result.comment = reader.comment();
    return result;
}
