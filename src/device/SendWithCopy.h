#pragma once

#include "device/OperationOutcome.h"
#include "device/WriteDifferingTexts.h"

class SerialExchange;
class OperationHost;
struct Variabili;

// Sends the message file at `path` after keeping a copy of the unit's 512
// texts where copy says: only the texts that differ when onlyDiffering (the
// copy's reading serves the comparison), else every record as programming
// sends it. The file is read once; it and the copy's target are checked
// before the first frame, and nothing is written unless the copy was saved
// whole.
OperationOutcome sendWithCopy(Variabili& v, SerialExchange& exchange, OperationHost& host,
                              const QString& path, const DifferingWriteOptions& copy,
                              bool onlyDiffering, DifferingWriteSummary& summary);
