#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What the editor shows of a message file.
struct EditorText {
    // Line 1 of the file; absent for a one-line file (and on error).
    std::optional<QByteArray> comment;
    // The display lines, each followed by CR LF; empty when no line is shown.
    QByteArray text;
    // Empty unless the file could not be opened or read, or is empty; then
    // comment and text are empty too.
    QString error;
};
