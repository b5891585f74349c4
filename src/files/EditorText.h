#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// What the editor shows of a message file.
struct EditorText {
    // A line of the file that the editor does not show.
    struct HiddenLine {
        // Its number in the file, the comment being line 1.
        int number = 0;
        // Its first 69 bytes.
        QByteArray text;
    };
    // How many of the hidden lines are kept in hiddenLines.
    static constexpr int keptHiddenLines = 20;

    // Line 1 of the file; absent for a one-line file (and on error).
    std::optional<QByteArray> comment;
    // The display lines, each followed by CR LF; empty when no line is shown.
    QByteArray text;
    // Empty unless the file could not be opened or read, or is empty; then
    // comment and text are empty too.
    QString error;
    // The lines after the comment that are neither shown nor written back by
    // Salva (empty lines, "---" separators, numbers above 511, every line after
    // the terminator, the file's last line), how many there are and the first
    // of them. The terminator and the empty lines just before it are not among
    // them: Salva ends every file with a terminator.
    int hiddenCount = 0;
    QList<HiddenLine> hiddenLines;
};
