#pragma once

#include "EditorText.h"

#include <QString>

// Reads a message file by the editor rules: every body line up to the first
// line starting with "END" or "end" is shown, except empty lines, "---"
// separators, lines whose leading number exceeds 511, and the file's last line.
// A display line is columns 1-19 padded with spaces to 19 bytes, then columns
// 20-69. The lines not shown are counted, and the first of them kept, so that
// the editor can say what saving will leave out; for that the file is read to
// its end. The file is closed before this returns.
EditorText LeggiFileDaEditare(const QString& path);
