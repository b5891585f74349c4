#pragma once

#include "ui/editor/EditorColours.h"

#include <QSyntaxHighlighter>

// Tells the three fields of a message line apart: the address (columns 1-3)
// and the text (4-19) on backgrounds of their own, so that trailing spaces of
// the text show, and the remark (20 on) in a quieter colour. A character that
// saving refuses and a tab in columns 1-19 stand out. Only the line itself is
// looked at, so an edit re-colours just the lines it touched.
class FieldHighlighter : public QSyntaxHighlighter {
  public:
    FieldHighlighter(QTextDocument* document, const EditorColours& colours);

    // Colours every line again in new colours.
    void setColours(const EditorColours& colours);

  protected:
    void highlightBlock(const QString& text) override;

  private:
    EditorColours m_colours;
};
