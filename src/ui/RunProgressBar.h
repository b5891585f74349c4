#pragma once

#include "device/RunProgress.h"

#include <QElapsedTimer>
#include <QProgressBar>

// The indicator of a long run, in the gap under the lower status box: the
// phase, how many of how many and the time left, as text inside the bar and
// as its accessible description. Hidden while the window is idle.
class RunProgressBar : public QProgressBar {
    Q_OBJECT
  public:
    explicit RunProgressBar(QWidget* parent = nullptr);

    // Drawn at most ten times a second, and at once when the phase changes or
    // ends: painting and announcing every exchange would cost more than the
    // exchange itself. flush() draws what was held back.
    void showProgress(const RunProgress& progress);
    void flush();

  private:
    void draw();

    RunProgress m_latest;
    bool m_pending = false;
    QElapsedTimer m_sinceDrawn;
};
