#include "ui/editor/TextPreview.h"

#include "files/RecordLayout.h"

#include <QPainter>

TextPreview::TextPreview(QWidget* parent)
    : QWidget(parent), m_text(RecordLayout::textLength, u' ') {
    setObjectName(QStringLiteral("textPreview"));
    show16(m_text, false);
}

void TextPreview::show16(const QString& text, bool sent) {
    m_text = text.leftJustified(RecordLayout::textLength, u' ', true);
    m_sent = sent;
    setAccessibleName(QStringLiteral("Anteprima del testo: «%1»%2")
                          .arg(m_text, sent ? QString() : QStringLiteral(", riga non inviata")));
    update();
}

int TextPreview::cellWidth() const {
    return fontMetrics().horizontalAdvance(QLatin1Char('M')) + 6;
}

QSize TextPreview::sizeHint() const {
    return {cellWidth() * RecordLayout::textLength + 1, fontMetrics().height() + 8};
}

void TextPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette::ColorGroup group = m_sent ? QPalette::Active : QPalette::Disabled;
    const int width = cellWidth();
    const int height = fontMetrics().height() + 7;
    for (int i = 0; i < RecordLayout::textLength; ++i) {
        const QRect cell(i * width, 0, width, height);
        painter.fillRect(cell, palette().color(group, QPalette::Base));
        painter.setPen(palette().color(group, QPalette::Mid));
        painter.drawRect(cell);
        painter.setPen(palette().color(group, QPalette::Text));
        painter.drawText(cell, Qt::AlignCenter, m_text.at(i));
    }
}
