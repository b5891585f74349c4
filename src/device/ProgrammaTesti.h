#pragma once

#include "device/OperationOutcome.h"

#include <QString>

class SerialExchange;
class OperationHost;
struct ProgrammingFile;
struct Variabili;

// Sends the records of the message file at `path` to the unit, then reads
// every one back and compares it. Failures end with the error acknowledgement.
OperationOutcome ProgrammaTesti(Variabili& v, SerialExchange& exchange, OperationHost& host,
                                const QString& path);
// The same with the file already read, as an operation that reads it first
// for its own checks hands it on.
OperationOutcome programFile(Variabili& v, SerialExchange& exchange, OperationHost& host,
                             const ProgrammingFile& file);
