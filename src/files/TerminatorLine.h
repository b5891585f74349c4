#pragma once

#include <QByteArrayView>

// True for a terminator line: its first three characters are exactly "END" or
// "end" (mixed case such as "End" is not a terminator; "endless" is).
bool isTerminatorLine(QByteArrayView line);
