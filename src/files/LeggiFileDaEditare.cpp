#include "LeggiFileDaEditare.h"

#include "LeadingNumber.h"
#include "MessageFileReader.h"
#include "RecordLayout.h"
#include "TerminatorLine.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {
constexpr qsizetype alignedColumns = RecordLayout::recordLength;
constexpr qsizetype shownColumns = 69;
constexpr double highestNumber = RecordLayout::highestAddress;

bool isShown(const QByteArray& line) {
    return !line.isEmpty() && !line.startsWith("---") &&
           leadingNumber(QByteArrayView(line).first(
               std::min<qsizetype>(line.size(), RecordLayout::addressDigits))) <= highestNumber;
}

// Counts the lines that Salva would not write back. Salva writes the shown
// lines followed by the terminator, so the first terminator line and the empty
// lines just before it are not lost; empty lines are held until the next line
// tells whether they stand before it.
class HiddenLines {
  public:
    explicit HiddenLines(EditorText& result) : m_result(result) {}

    bool ended() const { return m_ended; }
    // True for the terminator and for an empty line before it: neither is
    // shown, and the terminator drops the empty lines held.
    bool writtenBackBySalva(int number, const QByteArray& line) {
        if (m_ended)
            return false;
        if (isTerminatorLine(line)) {
            m_ended = true;
            m_heldEmpty.clear();
            return true;
        }
        if (line.isEmpty()) {
            m_heldEmpty.append(number);
            return true;
        }
        return false;
    }
    void hide(int number, const QByteArray& line) {
        hideHeldEmpty();
        record(number, line);
    }
    void hideHeldEmpty() {
        for (const int number : std::as_const(m_heldEmpty))
            record(number, {});
        m_heldEmpty.clear();
    }

  private:
    void record(int number, const QByteArray& line) {
        if (m_result.hiddenLines.size() < EditorText::keptHiddenLines)
            m_result.hiddenLines.append({number, line});
        ++m_result.hiddenCount;
    }

    EditorText& m_result;
    QList<int> m_heldEmpty;
    bool m_ended = false;
};
} // namespace

EditorText LeggiFileDaEditare(const QString& path) {
    EditorText result;
    MessageFileReader reader(path);
    if (!reader.open(std::numeric_limits<qsizetype>::max())) {
        result.error = reader.error();
        return result;
    }
    HiddenLines hidden(result);
    int number = 1;
    while (auto line = reader.nextLine(shownColumns)) {
        ++number;
        if (hidden.writtenBackBySalva(number, *line))
            continue;
        if (hidden.ended() || !isShown(*line)) {
            hidden.hide(number, *line);
            continue;
        }
        hidden.hideHeldEmpty();
        result.text += line->leftJustified(alignedColumns, ' ');
        result.text += "\r\n";
    }
    if (!reader.error().isEmpty())
        return EditorText{std::nullopt, {}, reader.error(), 0, {}};
    // The last line is never shown, whatever it holds.
    ++number;
    if (reader.lastLine() && !hidden.writtenBackBySalva(number, *reader.lastLine()))
        hidden.hide(number, *reader.lastLine());
    hidden.hideHeldEmpty();
    result.comment = reader.comment();
    return result;
}
