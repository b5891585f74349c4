#pragma once

#include <QtGlobal>

// Where each part of the unit's frames and replies stands. A frame is the
// identifier, a command and CR; a reply is judged at fixed positions from its
// first character, whatever the identifier's length.
namespace FrameLayout {

inline constexpr char frameEnd = '\r';

// The commands, after the identifier.
inline constexpr char testCommand[] = "TA";
// Followed by the 19-character record: address and text.
inline constexpr char writeCommand[] = "0W016";
// Followed by the three address digits.
inline constexpr char readCommand[] = "0R";

// How many characters each reply is collected to.
inline constexpr qint16 testReplyLength = 6;
inline constexpr qint16 writeReplyLength = 7;
inline constexpr qint16 readReplyLength = 24;

// A test reply's verb follows its first three characters.
inline constexpr int testVerbStart = 3;
inline constexpr int testVerbLength = 2;
inline constexpr char presentVerb[] = "TA";
// A write reply holds 'R' at index 5 when the text was stored.
inline constexpr int writeVerdictIndex = 5;
inline constexpr char writeStored = 'R';
// A read reply's text follows its first seven characters.
inline constexpr int readTextStart = 7;

} // namespace FrameLayout
