#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What the editor shows of a message file.
struct TestoDaEditare {
    // Line 1 of the file; absent for a one-line file (and on error).
    std::optional<QByteArray> commento;
    // The display lines, each followed by CR LF; empty when no line is shown.
    QByteArray testo;
    // Empty unless the file could not be opened or read, or is empty; then
    // commento and testo are empty too.
    QString error;
};
