#pragma once

#include <QFont>

// Sizes and type faces shared by the windows: layouts are given in twips
// (15 to a pixel) and text in points.
namespace AspettoFinestre {

constexpr int twipsPerPixel = 15;

constexpr int daTwips(int twips) {
    return twips / twipsPerPixel;
}

// "MS Sans Serif" where installed, else the platform's sans-serif family, at
// the platform's usual size: the type of every control without a size of its own.
QFont carattere();
// The same family at the given size and style.
QFont carattere(qreal punti, bool grassetto = false, bool corsivo = false);
// "Courier" where installed, else the platform's fixed-pitch family.
QFont carattereFisso(qreal punti);

} // namespace AspettoFinestre
