#pragma once

#include "device/OperationOutcome.h"

class SerialExchange;
class OperationHost;
struct Variabili;

// Sends one test frame and tells whether a unit with the current identifier
// answers on the chosen port. Leaves the commands enabled. A unit that does
// not answer is a failure of the test's frame, worded only as the test's own
// texts and notes.
OperationOutcome runPresenceTest(Variabili& v, SerialExchange& exchange, OperationHost& host);
