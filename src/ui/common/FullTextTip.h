#pragma once

#include <QObject>

class QLineEdit;

// A one-line box shows only what fits. Whenever its text is wider than the
// box, the whole text becomes the box's tooltip, and so also what a screen
// reader reads as its description; a text that fits leaves no tooltip.
class FullTextTip : public QObject {
    Q_OBJECT
  public:
    explicit FullTextTip(QLineEdit* box);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void update();

    QLineEdit* m_box;
};
