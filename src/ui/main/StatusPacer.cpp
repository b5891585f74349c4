#include "ui/main/StatusPacer.h"

#include "ui/main/RunProgressBar.h"

#include <QLineEdit>

#include <utility>

namespace {

constexpr int displayIntervalMs = 40;
constexpr int fallbackMs = 100;

// A status text longer than its box shows its beginning.
void showFromStart(QLineEdit* box, const QString& text) {
    box->setText(text);
    box->setCursorPosition(0);
}

} // namespace

StatusPacer::StatusPacer(QLineEdit* sending, QLineEdit* outcome, RunProgressBar* progress,
                         QObject* parent)
    : QObject(parent), m_sending(sending), m_outcome(outcome), m_progress(progress) {
    m_fallback.setSingleShot(true);
    m_fallback.setInterval(fallbackMs);
    connect(&m_fallback, &QTimer::timeout, this, &StatusPacer::flush);
}

void StatusPacer::setPaced(bool paced) {
    m_paced = paced;
    if (!paced)
        flush();
}

void StatusPacer::showSending(const QString& text) {
    m_heldSending = text;
    hold();
}

void StatusPacer::showOutcome(const QString& text) {
    m_heldOutcome = text;
    hold();
}

void StatusPacer::showProgress(const RunProgress& progress) {
    m_heldProgress = progress;
    hold();
}

void StatusPacer::hold() {
    if (!m_paced)
        flush();
    else if (!m_fallback.isActive())
        m_fallback.start();
}

void StatusPacer::pauseBegins() {
    // Applied from the pause's own events, so that neither setting the texts
    // nor painting them delays its start.
    if (m_fallback.isActive() &&
        (!m_sinceApplied.isValid() || m_sinceApplied.elapsed() >= displayIntervalMs))
        QMetaObject::invokeMethod(this, &StatusPacer::flush, Qt::QueuedConnection);
}

void StatusPacer::flush() {
    m_fallback.stop();
    m_sinceApplied.start();
    if (m_heldSending)
        showFromStart(m_sending, *std::exchange(m_heldSending, std::nullopt));
    if (m_heldOutcome)
        showFromStart(m_outcome, *std::exchange(m_heldOutcome, std::nullopt));
    if (m_heldProgress)
        m_progress->showProgress(*std::exchange(m_heldProgress, std::nullopt));
}
