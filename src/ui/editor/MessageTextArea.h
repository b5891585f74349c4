#pragma once

#include <QPlainTextEdit>
#include <QTextBlock>

#include <vector>

// The editor's text area, with room on its left for a margin widget that
// scrolls with the lines (see LineGutter).
class MessageTextArea : public QPlainTextEdit {
    Q_OBJECT

  public:
    struct VisibleLine {
        QTextBlock block;
        int top = 0;
        int height = 0;
    };

    explicit MessageTextArea(QWidget* parent = nullptr);

    // Places margin at the left edge, width pixels wide, and keeps it there.
    void setMargin(QWidget* margin, int width);
    // The lines shown now, with their top and height in viewport coordinates.
    std::vector<VisibleLine> visibleLines() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void placeMargin();
    void scrollMargin(const QRect& rect, int dy);

    QWidget* m_margin = nullptr;
    int m_marginWidth = 0;
};
