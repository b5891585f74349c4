#include "ui/editor/MessageTextArea.h"

MessageTextArea::MessageTextArea(QWidget* parent) : QPlainTextEdit(parent) {
    connect(this, &QPlainTextEdit::updateRequest, this, &MessageTextArea::scrollMargin);
}

void MessageTextArea::setMargin(QWidget* margin, int width) {
    m_margin = margin;
    m_marginWidth = width;
    margin->setParent(this);
    setViewportMargins(width, 0, 0, 0);
    placeMargin();
}

std::vector<MessageTextArea::VisibleLine> MessageTextArea::visibleLines() const {
    std::vector<VisibleLine> lines;
    const int bottom = viewport()->height();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (box.top() > bottom)
            break;
        if (block.isVisible())
            lines.push_back({block, qRound(box.top()), qRound(box.height())});
    }
    return lines;
}

void MessageTextArea::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    placeMargin();
}

void MessageTextArea::placeMargin() {
    if (!m_margin)
        return;
    const QRect inside = contentsRect();
    m_margin->setGeometry(inside.left(), inside.top(), m_marginWidth, inside.height());
}

void MessageTextArea::scrollMargin(const QRect& rect, int dy) {
    if (!m_margin)
        return;
    if (dy != 0)
        m_margin->scroll(0, dy);
    else
        m_margin->update(0, rect.y(), m_marginWidth, rect.height());
}
