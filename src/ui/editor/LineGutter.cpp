#include "ui/editor/LineGutter.h"

#include "ui/common/WindowStyle.h"
#include "ui/editor/LineJudgements.h"
#include "ui/editor/MessageTextArea.h"

#include <QPainter>

namespace {

constexpr int leastNumberDigits = 3;
constexpr int describedLines = 20;
// The margin's type, small enough to leave the text area its columns.
constexpr qreal marginPoints = 7;

} // namespace

LineGutter::LineGutter(MessageTextArea& area, const LineJudgements& judgements,
                       const EditorColours& colours)
    : QWidget(&area), m_area(area), m_judgements(judgements), m_colours(colours) {
    setObjectName(QStringLiteral("lineMarks"));
    setAccessibleName(QStringLiteral("Segni delle righe"));
    setFont(WindowStyle::font(marginPoints));
    for (const QString& word : LineReasons::markWords())
        m_wordWidth = qMax(m_wordWidth, fontMetrics().horizontalAdvance(word));
    connect(&judgements, &LineJudgements::changed, this, [this] {
        if (preferredWidth() != width())
            m_area.setMargin(this, preferredWidth());
        update();
        describe();
    });
    describe();
}

int LineGutter::numberWidth() const {
    const int digits =
        qMax(leastNumberDigits, int(QString::number(m_judgements.lineCount()).size()));
    return fontMetrics().horizontalAdvance(QString(digits, u'9'));
}

int LineGutter::preferredWidth() const {
    return numberWidth() + m_wordWidth + 3 * padding();
}

int LineGutter::padding() const {
    return fontMetrics().horizontalAdvance(QLatin1Char(' ')) / 2 + 1;
}

void LineGutter::setColours(const EditorColours& colours) {
    m_colours = colours;
    update();
}

void LineGutter::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const int pad = padding();
    const int numbers = numberWidth();
    const int tagLeft = numbers + 2 * pad;
    for (const auto& visible : m_area.visibleLines()) {
        const int index = visible.block.blockNumber();
        if (index >= m_judgements.lineCount())
            break;
        painter.setPen(m_colours.dimmed);
        painter.drawText(QRect(pad, visible.top, numbers, visible.height),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(index + 1));
        const auto mark =
            LineReasons::mark(m_judgements.line(index), m_judgements.run().line(index));
        if (mark.severity == LineReasons::Severity::None)
            continue;
        const QRect tag(tagLeft - pad / 2, visible.top, width() - tagLeft + pad / 2,
                        visible.height);
        painter.fillRect(tag, m_colours.markBackground(mark.severity));
        painter.setPen(m_colours.foreground);
        painter.drawText(tag.adjusted(pad / 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
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
                QStringLiteral("riga %1, %2: %3")
                    .arg(i + 1)
                    .arg(mark.tag)
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
