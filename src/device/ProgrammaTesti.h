#pragma once

#include "device/OperationResult.h"

class SerialExchange;
class OperationHost;
struct ProgrammingFile;
struct Variabili;

// Sends the records of FileSelezionato to the unit, then reads every one back
// and compares it. Failures end with the error acknowledgement.
OperationResult ProgrammaTesti(Variabili& v, SerialExchange& exchange, OperationHost& host);
// The same with the file already read, as an operation that reads it first
// for its own checks hands it on.
OperationResult programFile(Variabili& v, SerialExchange& exchange, OperationHost& host,
                            const ProgrammingFile& file);
