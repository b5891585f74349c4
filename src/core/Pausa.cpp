#include "core/Pausa.h"

#include "core/EventWait.h"
#include "core/Variabili.h"

void Pausa(Variabili& v, const int& milliseconds) {
    v.FinePausa = QDeadlineTimer(milliseconds, Qt::PreciseTimer);
    EventWait::until([&v] { return v.closeRequested; }, v.FinePausa);
}
