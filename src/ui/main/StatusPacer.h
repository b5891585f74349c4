#pragma once

#include "device/RunProgress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

class QLineEdit;
class RunProgressBar;

// What a running operation shows in the two status boxes and the progress
// indicator reaches the screen at the display's pace. An exchange takes about
// ten milliseconds: setting and painting every record as it is sent would put
// the painting between the pause and the next frame, and cost more than the
// exchange. While paced, the latest of each is held and applied together at
// the first pause after a reply once 40 ms have passed since the last time, so
// that the painting fills the pause; with no pause coming (a reply awaited) a
// timer applies it within 100 ms. flush() applies it at once. Idle, every text
// is applied as it comes.
class StatusPacer : public QObject {
    Q_OBJECT
  public:
    StatusPacer(QLineEdit* sending, QLineEdit* outcome, RunProgressBar* progress,
                QObject* parent = nullptr);

    void setPaced(bool paced);
    void showSending(const QString& text);
    void showOutcome(const QString& text);
    void showProgress(const RunProgress& progress);
    // A pause after a reply begins.
    void pauseBegins();
    void flush();

  private:
    void hold();

    QLineEdit* m_sending;
    QLineEdit* m_outcome;
    RunProgressBar* m_progress;
    bool m_paced = false;
    QTimer m_fallback;
    QElapsedTimer m_sinceApplied;
    std::optional<QString> m_heldSending;
    std::optional<QString> m_heldOutcome;
    std::optional<RunProgress> m_heldProgress;
};
