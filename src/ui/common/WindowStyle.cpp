#include "ui/common/WindowStyle.h"

#include <QFontDatabase>
#include <QWidget>

namespace WindowStyle {

QFont font() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
        font.setFamily(QStringLiteral("MS Sans Serif"));
    return font;
}

QFont font(qreal points, bool bold, bool italic) {
    QFont sized = font();
    sized.setPointSizeF(points);
    sized.setBold(bold);
    sized.setItalic(italic);
    return sized;
}

QFont fixedFont(qreal points) {
    QFont font = QFontDatabase::hasFamily(QStringLiteral("Courier"))
                     ? QFont(QStringLiteral("Courier"))
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(points);
    font.setFixedPitch(true);
    return font;
}

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace WindowStyle
