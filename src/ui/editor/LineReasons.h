#pragma once

#include "files/ProgrammingRun.h"
#include "ui/editor/EditorLine.h"

#include <QString>
#include <QStringList>

// What the editor says about one line: a short tag for the margin and whole
// sentences for the status line and screen readers. Lines are numbered from 1.
namespace LineReasons {

enum class Severity {
    None,    // sent as it stands
    Notice,  // passed over or never read: nothing reaches the unit
    Warning, // sent, but an earlier line sends the same address
    Error,   // saving refuses the line, or a tab breaks its columns
};

struct Mark {
    Severity severity = Severity::None;
    QString tag;
};

Mark mark(const EditorLine& line, const ProgrammingRun::Line& context);
// Every reason that applies, most important first; empty for a line sent as
// it stands. terminatorLine is the 0-based index of the first terminator.
QStringList reasons(const EditorLine& line, const ProgrammingRun::Line& context,
                    int terminatorLine);
QString address(int value);

} // namespace LineReasons
