#pragma once

#include "ui/editor/EditorColours.h"

#include <QWidget>

class LineJudgements;
class MessageTextArea;

// The margin beside the text area: each line's number and, for a line that
// programming does not send as it stands, a word on a tinted ground saying
// whether it is sent. Its accessible description lists the marked lines for
// screen readers.
class LineGutter : public QWidget {
    Q_OBJECT

  public:
    LineGutter(MessageTextArea& area, const LineJudgements& judgements,
               const EditorColours& colours);

    int preferredWidth() const;
    void setColours(const EditorColours& colours);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void describe();
    int numberWidth() const;
    int padding() const;

    MessageTextArea& m_area;
    const LineJudgements& m_judgements;
    EditorColours m_colours;
    int m_wordWidth = 0;
};
