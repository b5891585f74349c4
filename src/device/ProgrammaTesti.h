#pragma once

#include "device/OperationResult.h"

class SerialExchange;
class OperationHost;
struct Variabili;

// Sends the records of FileSelezionato to the unit, then reads every one back
// and compares it. Failures end with the error acknowledgement.
OperationResult ProgrammaTesti(Variabili& v, SerialExchange& exchange, OperationHost& host);
