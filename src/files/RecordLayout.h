#pragma once

// The layout of a message record, as files hold it and the unit stores it:
// three address digits, then the text.
namespace RecordLayout {

inline constexpr int addressDigits = 3;
inline constexpr int textLength = 16;
inline constexpr int recordLength = addressDigits + textLength;
inline constexpr int highestAddress = 511;
inline constexpr int addressCount = highestAddress + 1;

} // namespace RecordLayout
