#include "ui/main/RunProgressBar.h"

#include "ui/common/WindowStyle.h"

RunProgressBar::RunProgressBar(QWidget* parent) : QProgressBar(parent) {
    setObjectName(QStringLiteral("RunProgressBar"));
    setAccessibleName(QStringLiteral("Avanzamento"));
    setFocusPolicy(Qt::NoFocus);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
    setFont(WindowStyle::font(7));
    hide();
}

void RunProgressBar::showProgress(const RunProgress& progress) {
    // An unknown total shows as a busy bar until the first estimate.
    setRange(0, progress.total);
    setValue(qMin(progress.done, progress.total));
    const QString line = progress.describe();
    setFormat(line);
    setAccessibleDescription(line);
    updateGeometry();
    show();
}

QSize RunProgressBar::sizeHint() const {
    // The text and a character's room on each side for the bar's frame.
    const int margin = fontMetrics().horizontalAdvance(QLatin1Char('M'));
    return {fontMetrics().horizontalAdvance(text()) + 2 * margin,
            QProgressBar::sizeHint().height()};
}
