#include "device/ErrorAcknowledgement.h"

#include "core/EventWait.h"
#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "ui/FormScriveMessaggi.h"

#include <QPushButton>

namespace ErrorAcknowledgement {

void show(Variabili& v, FormScriveMessaggi& finestra, const QByteArray& testoErrore) {
    finestra.Command4->setVisible(true);
    v.ConfermaErrore = false;
    finestra.Command4->setText(Windows1252::decode(testoErrore + " Clicca Qui"));
}

void waitForClick(Variabili& v, FormScriveMessaggi& finestra) {
    EventWait::until([&v] { return v.ConfermaErrore || v.closeRequested; });
    finestra.Command4->setVisible(false);
    v.ConfermaErrore = false;
}

} // namespace ErrorAcknowledgement
