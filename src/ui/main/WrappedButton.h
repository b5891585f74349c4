#pragma once

#include <QPushButton>

// A push button whose caption breaks into lines at blanks when it does not fit
// on one, as the captions of the main window's tall buttons do.
class WrappedButton : public QPushButton {
    Q_OBJECT
  public:
    explicit WrappedButton(const QString& text, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};
