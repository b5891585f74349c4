#include "ui/common/FullTextTip.h"

#include <QEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

FullTextTip::FullTextTip(QLineEdit* box) : QObject(box), m_box(box) {
    connect(box, &QLineEdit::textChanged, this, &FullTextTip::update);
    box->installEventFilter(this);
    update();
}

bool FullTextTip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_box &&
        (event->type() == QEvent::Resize || event->type() == QEvent::FontChange))
        update();
    return QObject::eventFilter(watched, event);
}

void FullTextTip::update() {
    // The room the line edit gives its text: inside its frame and margins.
    QStyleOptionFrame option;
    option.initFrom(m_box);
    option.lineWidth = m_box->hasFrame() ? m_box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                       &option, m_box)
                                         : 0;
    const QRect room = m_box->style()
                           ->subElementRect(QStyle::SE_LineEditContents, &option, m_box)
                           .marginsRemoved(m_box->textMargins());
    const QString text = m_box->text();
    // Two pixels on each side are the line edit's own horizontal margin.
    const bool cut = m_box->fontMetrics().horizontalAdvance(text) > room.width() - 4;
    m_box->setToolTip(cut ? text : QString());
}
