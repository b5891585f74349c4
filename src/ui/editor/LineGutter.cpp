#include "ui/editor/LineGutter.h"

#include "ui/editor/LineJudgements.h"
#include "ui/editor/MessageTextArea.h"

#include <QPainter>

namespace {

constexpr int numberDigits = 5;
constexpr int tagCharacters = 10;
constexpr int describedLines = 20;

} // namespace

LineGutter::LineGutter(MessageTextArea& area, const LineJudgements& judgements,
                       const EditorColours& colours)
    : QWidget(&area), m_area(area), m_judgements(judgements), m_colours(colours) {
    setObjectName(QStringLiteral("lineMarks"));
    setAccessibleName(QStringLiteral("Segni delle righe"));
    setFont(area.font());
    connect(&judgements, &LineJudgements::changed, this, [this] {
        update();
        describe();
    });
    describe();
}

int LineGutter::preferredWidth() const {
    return fontMetrics().horizontalAdvance(QLatin1Char('9')) * (numberDigits + tagCharacters + 2);
}

void LineGutter::setColours(const EditorColours& colours) {
    m_colours = colours;
    update();
}

void LineGutter::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('9'));
    const int numberWidth = digit * numberDigits;
    const QRect tagColumn(numberWidth + digit, 0, digit * tagCharacters, 0);
    for (const auto& visible : m_area.visibleLines()) {
        const int index = visible.block.blockNumber();
        if (index >= m_judgements.lineCount())
            break;
        painter.setPen(m_colours.dimmed);
        painter.drawText(QRect(0, visible.top, numberWidth, visible.height),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(index + 1));
        const auto mark =
            LineReasons::mark(m_judgements.line(index), m_judgements.run().line(index));
        if (mark.severity == LineReasons::Severity::None)
            continue;
        const QRect tag(tagColumn.left(), visible.top, tagColumn.width(), visible.height);
        painter.fillRect(tag, m_colours.markBackground(mark.severity));
        painter.setPen(m_colours.foreground);
        painter.drawText(tag.adjusted(digit / 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         mark.tag);
    }
}

void LineGutter::describe() {
    QStringList marked;
    int more = 0;
    const auto& run = m_judgements.run();
    for (int i = 0; i < m_judgements.lineCount(); ++i) {
        const auto mark = LineReasons::mark(m_judgements.line(i), run.line(i));
        if (mark.severity == LineReasons::Severity::None)
            continue;
        if (marked.size() < describedLines)
            marked +=
                QStringLiteral("riga %1: %2")
                    .arg(i + 1)
                    .arg(LineReasons::reasons(m_judgements.line(i), run.line(i), run.terminator())
                             .join(QStringLiteral("; ")));
        else
            ++more;
    }
    if (more > 0)
        marked += QStringLiteral("e altre %1 righe").arg(more);
    setAccessibleDescription(marked.isEmpty() ? QStringLiteral("Nessuna riga segnata")
                                              : marked.join(QStringLiteral(". ")));
}
