#include "core/TreCifre.h"

#include "core/Variabili.h"

void TreCifre(Variabili& v) {
    const int n = ((v.NumeroDaFormattare % 1000) + 1000) % 1000;
    v.NumeroFormattato = QByteArray::number(n).rightJustified(3, '0');
}
