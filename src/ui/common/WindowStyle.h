#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

class QWidget;

// Sizes, type faces and colours shared by the windows: layouts are given in
// twips (15 to a pixel) and text in points.
namespace WindowStyle {

constexpr int twipsPerPixel = 15;

constexpr int fromTwips(int twips) {
    return twips / twipsPerPixel;
}

// "MS Sans Serif" where installed, else the platform's sans-serif family, at
// the platform's usual size: the type of every control without a size of its own.
QFont font();
// The same family at the given size and style.
QFont font(qreal points, bool bold = false, bool italic = false);
// "Courier" where installed, else the platform's fixed-pitch family.
QFont fixedFont(qreal points);

// Sets one colour of the widget's palette.
void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour);

} // namespace WindowStyle
