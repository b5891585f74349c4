#pragma once

#include "RecordLayout.h"

#include <QByteArray>
#include <QByteArrayView>

// How programming takes one body line of a message file. The programming
// reader and the editor both judge lines with this, so that what the editor
// shows is what programming does.
enum class ProgrammingLineKind : quint8 {
    Empty,          // no characters: passed over
    Terminator,     // first three characters "END" or "end": reading stops
    Separator,      // "---": passed over, as any line without an address
    NoAddress,      // columns 1-3 missing or not all digits: passed over
    AddressTooHigh, // 512 to 999: passed over
    Message,        // yields a message record
};

struct ProgrammingLine {
    ProgrammingLineKind kind = ProgrammingLineKind::Empty;
    // The value of columns 1-3 when they are three digits, else -1.
    int address = -1;

    bool operator==(const ProgrammingLine&) const = default;
};

// Judges a line given as its bytes without the line end; only its first
// RecordLayout::recordLength bytes matter.
ProgrammingLine judgeProgrammingLine(QByteArrayView line);

// The record a message line yields: columns 1-19, right-padded with spaces.
QByteArray messageRecord(QByteArrayView line);
