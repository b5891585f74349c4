#pragma once

#include <QString>

// A number with the word that agrees with it: "1 testo", "3 testi".
inline QString counted(int number, const QString& singular, const QString& plural) {
    return QString::number(number) + QLatin1Char(' ') + (number == 1 ? singular : plural);
}
