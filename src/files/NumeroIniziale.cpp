#include "NumeroIniziale.h"

#include <cmath>

namespace {

bool cifra(QByteArrayView testo, qsizetype i) {
    return i < testo.size() && testo[i] >= '0' && testo[i] <= '9';
}

// Skips an optional '+' or '-' at i; returns -1.0 for '-', else 1.0.
double segno(QByteArrayView testo, qsizetype& i) {
    if (i < testo.size() && (testo[i] == '+' || testo[i] == '-'))
        return testo[i++] == '-' ? -1.0 : 1.0;
    return 1.0;
}

} // namespace

double NumeroIniziale(QByteArrayView testo) {
    qsizetype i = 0;
    while (i < testo.size() && testo[i] == ' ')
        ++i;
    const double segnoNumero = segno(testo, i);
    double valore = 0.0;
    bool haCifre = false;
    for (; cifra(testo, i); ++i, haCifre = true)
        valore = valore * 10.0 + (testo[i] - '0');
    if (i < testo.size() && testo[i] == '.') {
        double peso = 0.1;
        for (++i; cifra(testo, i); ++i, haCifre = true, peso /= 10.0)
            valore += (testo[i] - '0') * peso;
    }
    if (!haCifre)
        return 0.0;
    if (i < testo.size() && (testo[i] == 'e' || testo[i] == 'E')) {
        qsizetype j = i + 1;
        const double segnoEsponente = segno(testo, j);
        double esponente = 0.0;
        for (; cifra(testo, j); ++j)
            esponente = esponente * 10.0 + (testo[j] - '0');
        valore *= std::pow(10.0, segnoEsponente * esponente);
    }
    return segnoNumero * valore;
}
