#include "device/TreCifre.h"

#include "core/Variabili.h"
#include "files/RecordLayout.h"

void TreCifre(Variabili& v) {
    v.NumeroFormattato = RecordLayout::addressText(((v.NumeroDaFormattare % 1000) + 1000) % 1000);
}
