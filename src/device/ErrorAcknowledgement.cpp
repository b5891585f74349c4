#include "device/ErrorAcknowledgement.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/OperationHost.h"

namespace ErrorAcknowledgement {

void show(Variabili& v, OperationHost& host, const QByteArray& testoErrore) {
    v.TestoErrore = testoErrore;
    v.ConfermaErrore = false;
    host.showError(Windows1252::decode(testoErrore));
}

void waitForClick(Variabili& v, OperationHost& host) {
    host.awaitAcknowledgement();
    v.ConfermaErrore = false;
}

} // namespace ErrorAcknowledgement
