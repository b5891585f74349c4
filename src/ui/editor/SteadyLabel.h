#pragma once

#include <QWidget>

class QLabel;

// A label of a fixed number of lines in a box of its own, so that changing
// its text, as the status line does at every key, repaints the label without
// laying out the whole window again. Screen readers read its text as its
// name, and the caption as its description.
class SteadyLabel : public QWidget {
  public:
    SteadyLabel(const QString& name, const QString& caption, int lines);

    QLabel* label() const { return m_label; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QLabel* m_label;
};
