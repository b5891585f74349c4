#include "ui/editor/SteadyLabel.h"

#include <QLabel>

SteadyLabel::SteadyLabel(const QString& name, const QString& accessibleName, int lines)
    : m_label(new QLabel(this)) {
    m_label->setObjectName(name);
    m_label->setAccessibleName(accessibleName);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFixedHeight(m_label->fontMetrics().lineSpacing() * lines);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void SteadyLabel::resizeEvent(QResizeEvent*) {
    m_label->setGeometry(rect());
}
