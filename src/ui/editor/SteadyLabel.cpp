#include "ui/editor/SteadyLabel.h"

#include <QLabel>

SteadyLabel::SteadyLabel(const QString& name, const QString& caption, int lines)
    : m_label(new QLabel(this)) {
    m_label->setObjectName(name);
    // No accessible name of its own: the label's text is its name, and each
    // change of the text is announced as a change of the name.
    m_label->setAccessibleDescription(caption);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_label->setWordWrap(lines > 1);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFixedHeight(m_label->fontMetrics().lineSpacing() * lines);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void SteadyLabel::resizeEvent(QResizeEvent*) {
    m_label->setGeometry(rect());
}
