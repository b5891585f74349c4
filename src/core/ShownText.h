#pragma once

#include <QByteArray>
#include <QString>

// A text of a file or of the unit as the operator reads it, in a window or on
// a terminal.
namespace ShownText {

// The text between « and », so that its spaces show. A control byte (a line
// end, a tab, an undefined byte) would be invisible or break the line: it is
// named in hex between ⟨ and ⟩, which no text can hold, so CR is ⟨0D⟩.
QString quoted(const QByteArray& text);

} // namespace ShownText
