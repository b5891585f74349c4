#pragma once

#include "files/EditorText.h"

#include <QString>

// What the editor says about the lines of the opened file that it does not
// show, and so that "Salva " does not write back.
namespace HiddenLinesNote {

// "N righe del file non mostrate: Salva non le riscrive"; empty when none.
QString text(const EditorText& read);
// The hidden lines themselves, one per line with its number in the file.
QString tip(const EditorText& read);

} // namespace HiddenLinesNote
