#include "ui/RunProgressBar.h"

#include "device/RunProgress.h"
#include "ui/AspettoFinestre.h"

RunProgressBar::RunProgressBar(QWidget* parent) : QProgressBar(parent) {
    setObjectName(QStringLiteral("RunProgressBar"));
    setAccessibleName(QStringLiteral("Avanzamento"));
    setFocusPolicy(Qt::NoFocus);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
    setFont(AspettoFinestre::carattere(7));
    // Below Text2 and above the identifier row, as wide as the status boxes.
    setGeometry(AspettoFinestre::daTwips(480), AspettoFinestre::daTwips(3990),
                AspettoFinestre::daTwips(5640), AspettoFinestre::daTwips(195));
    hide();
}

void RunProgressBar::showProgress(const RunProgress& progress) {
    // An unknown total shows as a busy bar until the first estimate.
    setRange(0, progress.total);
    setValue(qMin(progress.done, progress.total));
    const QString line = progress.describe();
    setFormat(line);
    setAccessibleDescription(line);
    show();
}
