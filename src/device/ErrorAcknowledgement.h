#pragma once

#include <QByteArray>

class OperationHost;
struct Variabili;

// Holds an operation on an error until the operator has seen it: the host
// shows TestoErrore and the operation waits for the acknowledgement. Showing
// and waiting are apart so that a caller can show an outcome in between.
namespace ErrorAcknowledgement {

void show(Variabili& v, OperationHost& host, const QByteArray& testoErrore);
void waitForClick(Variabili& v, OperationHost& host);

} // namespace ErrorAcknowledgement
