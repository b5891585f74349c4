#pragma once

#include "files/ProgrammingRun.h"
#include "ui/editor/EditorLine.h"

#include <QObject>

#include <vector>

class QTextDocument;

// Keeps every line of a text document judged as programming will take it
// once saved. A change re-judges only the lines it touched; when their
// judgement changed, the whole run (terminator, duplicates, counts) is
// followed again, which costs one cheap step per line. The empty position
// after the final line end is not a line: it is neither judged nor counted.
class LineJudgements : public QObject {
    Q_OBJECT

  public:
    explicit LineJudgements(QTextDocument& document, QObject* parent = nullptr);

    int lineCount() const;
    const EditorLine& line(int index) const { return m_lines[size_t(index)]; }
    const ProgrammingRun& run() const { return m_run; }
    // Lines holding a character that saving refuses.
    int unsavableLines() const { return m_unsavable; }
    // Lines sending an address that an earlier line sends too.
    int duplicates() const { return m_duplicates; }

  signals:
    void changed();

  private:
    void update(int position, int removed, int added);
    void rebuild();
    void followRun();

    QTextDocument& m_document;
    std::vector<EditorLine> m_lines;
    std::vector<ProgrammingLine> m_programming;
    ProgrammingRun m_run;
    int m_unsavable = 0;
    int m_duplicates = 0;
};
