#include "LeadingNumber.h"

#include <cmath>

namespace {

bool isDigit(QByteArrayView text, qsizetype i) {
    return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

// Skips an optional '+' or '-' at i; returns -1.0 for '-', else 1.0.
double sign(QByteArrayView text, qsizetype& i) {
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        return text[i++] == '-' ? -1.0 : 1.0;
    return 1.0;
}

} // namespace

double leadingNumber(QByteArrayView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const double numberSign = sign(text, i);
    double value = 0.0;
    bool hasDigits = false;
    for (; isDigit(text, i); ++i, hasDigits = true)
        value = value * 10.0 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        double weight = 0.1;
        for (++i; isDigit(text, i); ++i, hasDigits = true, weight /= 10.0)
            value += (text[i] - '0') * weight;
    }
    if (!hasDigits)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        qsizetype j = i + 1;
        const double exponentSign = sign(text, j);
        double exponent = 0.0;
        for (; isDigit(text, j); ++j)
            exponent = exponent * 10.0 + (text[j] - '0');
        value *= std::pow(10.0, exponentSign * exponent);
    }
    return numberSign * value;
}
