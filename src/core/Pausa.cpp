#include "core/Pausa.h"

#include "core/EventWait.h"
#include "core/Variabili.h"

void Pausa(Variabili& v, const int& millisecondi) {
    v.FinePausa = QDeadlineTimer(millisecondi, Qt::PreciseTimer);
    EventWait::until([&v] { return v.closeRequested; }, v.FinePausa);
}
