#pragma once

#include "files/ProgrammingLine.h"

#include <QStringView>

// One line of the editor's text area, judged as saving will write it: the
// programming judgement of its bytes, and what would keep it from being saved
// or from keeping its columns.
struct EditorLine {
    ProgrammingLine programming;
    // 1-based column of the first character Windows-1252 cannot hold, or -1.
    int unsavableColumn = -1;
    // 1-based column of the first tab in columns 1-19, or -1.
    int tabColumn = -1;

    bool operator==(const EditorLine&) const = default;
};

EditorLine judgeEditorLine(QStringView text);

// The bytes saving writes for the first count characters of a line; a
// character that Windows-1252 cannot hold becomes '?' (saving refuses it).
QByteArray savedBytes(QStringView text, qsizetype count);
