#pragma once

#include <QObject>

class FieldHighlighter;
class LineGutter;
class LineJudgements;
class MessageTextArea;
class QLabel;
class QWidget;
class TextPreview;

// What the editor shows beside its text area about what programming will do
// with the text once saved: coloured fields, a margin marking the lines not
// sent as they stand, a status line for the cursor's line, a summary of the
// whole text and a preview of the current text. It changes the text only by
// turning line separators into line breaks, which saving writes alike.
class EditorChecks : public QObject {
    Q_OBJECT

  public:
    explicit EditorChecks(MessageTextArea& area);

    // The status line and the summary, one under the other, to be placed
    // under the text area.
    QWidget* panel() const { return m_panel; }
    // The preview of the current line's text, with its caption, on one line.
    QWidget* previewRow() const { return m_previewRow; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showCursorLine();
    void showSummary();
    void splitLineSeparators();

    MessageTextArea& m_area;
    LineJudgements* m_judgements;
    FieldHighlighter* m_highlighter;
    LineGutter* m_gutter;
    QWidget* m_panel;
    QWidget* m_previewRow;
    QLabel* m_status;
    TextPreview* m_preview;
    QLabel* m_summary;
    bool m_splitQueued = false;
};
