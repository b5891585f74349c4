#include "ui/main/NoteLine.h"

#include "ui/common/FullTextTip.h"
#include "ui/common/WindowStyle.h"

NoteLine::NoteLine(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("NoteLine"));
    setAccessibleName(QStringLiteral("Nota"));
    setReadOnly(true);
    setFrame(false);
    setFocusPolicy(Qt::NoFocus);
    setFont(WindowStyle::font(7));
    // Read as a line of text under the boxes, not as a box to type in.
    WindowStyle::setColour(this, QPalette::Base, palette().color(QPalette::Window));
    new FullTextTip(this);
    hide();
}

void NoteLine::showNote(const QString& text) {
    setText(text);
    setCursorPosition(0);
    show();
}

void NoteLine::clearNote() {
    clear();
    hide();
}
