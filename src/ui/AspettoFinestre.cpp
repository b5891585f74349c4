#include "ui/AspettoFinestre.h"

#include <QFontDatabase>

namespace AspettoFinestre {

QFont carattere() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
        font.setFamily(QStringLiteral("MS Sans Serif"));
    return font;
}

QFont carattere(qreal punti, bool grassetto, bool corsivo) {
    QFont font = carattere();
    font.setPointSizeF(punti);
    font.setBold(grassetto);
    font.setItalic(corsivo);
    return font;
}

QFont carattereFisso(qreal punti) {
    QFont font = QFontDatabase::hasFamily(QStringLiteral("Courier"))
                     ? QFont(QStringLiteral("Courier"))
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(punti);
    font.setFixedPitch(true);
    return font;
}

} // namespace AspettoFinestre
