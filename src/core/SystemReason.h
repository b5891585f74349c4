#pragma once

#include <QString>

// The system's reason for a failure in the operator's words, the same in any
// locale (the system's own texts follow the locale, and are English under C):
// "permesso negato", "non è una porta seriale", ... A number this table does
// not know keeps the system's text after an Italian sentence.
QString systemReason(int errnoCode, const QString& systemText = {});

// The error number behind a text that Qt made from one (what errorString()
// of a serial port or file holds after a system call failed); 0 when the text
// came from no error number.
int errnoBehind(const QString& systemText);
