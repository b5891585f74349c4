#pragma once

#include "serial/LineTrace.h"

#include <QString>

// How the trace of the line reads, in its window and in what is copied or
// saved: bytes as Windows-1252 text with control characters named, and as hex.
namespace TraceFormat {

enum Column { Time, Took, Sent, SentHex, Received, ReceivedHex, Outcome, ColumnCount };

QString heading(int column);
QString field(const LineTrace::Exchange& exchange, int column);
// Whether the row opens an operation: its fields give the date, the time and
// the operation's name, and "inizio dell'operazione" with the line it goes
// through.
bool opensOperation(const LineTrace::Exchange& exchange);
// The whole trace as lines of tab-separated fields under a heading line.
QString document(const LineTrace& trace);

} // namespace TraceFormat
