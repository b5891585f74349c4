#include "cli/StopReport.h"

#include "core/StopSignals.h"
#include "device/RunFailure.h"

namespace {

QString leftBehind(CliRequest::Action action, const std::optional<RunProgress>& progress,
                   bool targetExisted) {
    const bool exchanged = progress && progress->done > 0;
    switch (action) {
    case CliRequest::Action::Program:
    case CliRequest::Action::Restore:
    case CliRequest::Action::Compare:
        if (!exchanged)
            return QStringLiteral("nulla è stato inviato");
        return RunFailure::leftBehind(progress->phase);
    case CliRequest::Action::ReadAll:
        return targetExisted ? QStringLiteral("il file che c'era è rimasto com'era")
                             : QStringLiteral("nessun file scritto");
    default:
        return {};
    }
}

} // namespace

QString stopReport(int signalNumber, CliRequest::Action action,
                   const std::optional<RunProgress>& lastProgress, bool targetExisted) {
    QString line = QStringLiteral("interrotto da %1 %2; porta chiusa")
                       .arg(StopSignals::name(signalNumber), RunProgress::stoppedAt(lastProgress));
    const QString rest = leftBehind(action, lastProgress, targetExisted);
    if (!rest.isEmpty())
        line += QStringLiteral(", ") + rest;
    return line + QLatin1Char('.');
}
