#include "ui/RunProgressBar.h"

#include "ui/WindowStyle.h"

namespace {

constexpr qint64 redrawIntervalMs = 100;

} // namespace

RunProgressBar::RunProgressBar(QWidget* parent) : QProgressBar(parent) {
    setObjectName(QStringLiteral("RunProgressBar"));
    setAccessibleName(QStringLiteral("Avanzamento"));
    setFocusPolicy(Qt::NoFocus);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
    setFont(WindowStyle::font(7));
    // Below Text2 and above the identifier row, as wide as the status boxes.
    setGeometry(WindowStyle::fromTwips(480), WindowStyle::fromTwips(3990),
                WindowStyle::fromTwips(5640), WindowStyle::fromTwips(195));
    hide();
}

void RunProgressBar::showProgress(const RunProgress& progress) {
    const bool turningPoint =
        isHidden() || progress.phase != m_latest.phase || progress.done == progress.total;
    m_latest = progress;
    m_pending = true;
    if (turningPoint || !m_sinceDrawn.isValid() || m_sinceDrawn.elapsed() >= redrawIntervalMs)
        draw();
}

void RunProgressBar::flush() {
    if (m_pending)
        draw();
}

void RunProgressBar::draw() {
    // An unknown total shows as a busy bar until the first estimate.
    setRange(0, m_latest.total);
    setValue(qMin(m_latest.done, m_latest.total));
    const QString line = m_latest.describe();
    setFormat(line);
    setAccessibleDescription(line);
    show();
    m_pending = false;
    m_sinceDrawn.start();
}
