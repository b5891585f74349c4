#pragma once

#include "files/ProgrammingRun.h"
#include "ui/editor/EditorLine.h"

#include <QString>
#include <QStringList>

// What the editor says about one line: a word for the margin telling whether
// programming sends the line, and whole sentences for the status line and
// screen readers telling why. Lines are numbered from 1.
namespace LineReasons {

enum class Severity {
    None,    // sent as it stands
    Notice,  // passed over or never read: nothing reaches the unit
    Warning, // sent, but a tab breaks its columns or an earlier line sends
             // the same address
    Error,   // saving refuses the line
};

struct Mark {
    Severity severity = Severity::None;
    QString tag;
};

// "invia" for a line sent with a reason to look at it; "salta", "fine" or
// "mai" for one that sends nothing; "errore" for one that saving refuses.
Mark mark(const EditorLine& line, const ProgrammingRun::Line& context);
// Every word a mark can carry, to size the margin.
QStringList markWords();
// Every reason that applies, most important first; empty for a line sent as
// it stands. terminatorLine is the 0-based index of the first terminator.
QStringList reasons(const EditorLine& line, const ProgrammingRun::Line& context,
                    int terminatorLine);
QString address(int value);

} // namespace LineReasons
