#pragma once

#include <QByteArray>

struct Variabili;
class FormScriveMessaggi;

// Holds an operation on an error until the operator has seen it: the red
// button shows the error text followed by " Clicca Qui" and the operation
// waits for its click. Showing and waiting are apart so that a caller can set
// the status boxes in between.
namespace ErrorAcknowledgement {

void show(Variabili& v, FormScriveMessaggi& finestra, const QByteArray& testoErrore);
// Waits for the click (or for the program to close), then hides the button.
void waitForClick(Variabili& v, FormScriveMessaggi& finestra);

} // namespace ErrorAcknowledgement
