#pragma once

#include "device/OperationResult.h"

class SerialExchange;
class OperationHost;
struct Variabili;

// Sends one test frame and tells whether a unit with the current identifier
// answers on the chosen port. Leaves the commands enabled.
OperationResult runPresenceTest(Variabili& v, SerialExchange& exchange, OperationHost& host);
