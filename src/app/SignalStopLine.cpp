#include "app/SignalStopLine.h"

#include "core/StopSignals.h"
#include "device/RunFailure.h"

QString signalStopLine(int signalNumber, const std::optional<RunProgress>& lastProgress) {
    QString line = QStringLiteral("tarvodisp: interrotto da ") + StopSignals::name(signalNumber);
    if (lastProgress)
        line += QLatin1Char(' ') + RunProgress::stoppedAt(lastProgress);
    line += QStringLiteral("; porta chiusa");
    if (lastProgress)
        line += QStringLiteral(", ") + (lastProgress->done > 0
                                            ? RunFailure::leftBehind(lastProgress->phase)
                                            : QStringLiteral("nulla è stato inviato"));
    return line + QLatin1Char('.');
}
