#pragma once

#include "device/RunProgress.h"

#include <QProgressBar>

// The indicator of a long run, in the row under the lower status box: the
// phase, how many of how many and the time left, as text inside the bar and
// as its accessible description. Hidden while the window is idle.
class RunProgressBar : public QProgressBar {
    Q_OBJECT
  public:
    explicit RunProgressBar(QWidget* parent = nullptr);

    void showProgress(const RunProgress& progress);

    // As wide as its text, so that a note beside it leaves the text whole.
    QSize sizeHint() const override;
};
