#pragma once

#include <QByteArray>

// The layout of a message record, as files hold it and the unit stores it:
// three address digits, then the text.
namespace RecordLayout {

inline constexpr int addressDigits = 3;
inline constexpr int textLength = 16;
inline constexpr int recordLength = addressDigits + textLength;
inline constexpr int highestAddress = 511;
inline constexpr int addressCount = highestAddress + 1;

// An address as files and frames carry it: three digits, "007".
inline QByteArray addressText(int address) {
    return QByteArray::number(address).rightJustified(addressDigits, '0');
}

// The line a message file holds for a text read from the unit: the address,
// the text, "*" closing it so that trailing spaces stay visible, CR LF.
inline QByteArray fileLine(int address, const QByteArray& text) {
    return addressText(address) + text + "*\r\n";
}

// Whether a text can stand in a line of a message file: a carriage return or
// a line feed would split its record in two.
inline bool fitsOnALine(const QByteArray& text) {
    return !text.contains('\r') && !text.contains('\n');
}

} // namespace RecordLayout
