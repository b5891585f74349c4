#pragma once

#include "device/OperationOutcome.h"

class SerialExchange;
class OperationHost;
struct Variabili;

// Reads the texts at addresses 000 to 511 and offers them for saving, with the
// port still open. Disables and re-enables the commands itself.
OperationOutcome readAllTexts(Variabili& v, SerialExchange& exchange, OperationHost& host);
