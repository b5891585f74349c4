#include "cli/StopReport.h"

#include "core/StopSignals.h"

namespace {

QString where(const std::optional<RunProgress>& progress) {
    if (!progress || progress->done == 0)
        return QStringLiteral("prima del primo scambio");
    return QStringLiteral("durante la %1, dopo l'indirizzo %2 (%3 di %4%5)")
        .arg(progress->phaseName(), QString::fromLatin1(progress->address))
        .arg(progress->done)
        .arg(progress->totalEstimated ? QStringLiteral("circa ") : QString())
        .arg(progress->total);
}

QString leftBehind(CliRequest::Action action, const std::optional<RunProgress>& progress,
                   bool targetExisted) {
    const bool exchanged = progress && progress->done > 0;
    switch (action) {
    case CliRequest::Action::Program:
        if (!exchanged)
            return QStringLiteral("nulla è stato inviato");
        return progress->phase == RunProgress::Phase::Writing
                   ? QStringLiteral("l'unità ha solo una parte dei testi, non verificati")
                   : QStringLiteral("testi scritti, verifica non completata");
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
                       .arg(StopSignals::name(signalNumber), where(lastProgress));
    const QString rest = leftBehind(action, lastProgress, targetExisted);
    if (!rest.isEmpty())
        line += QStringLiteral(", ") + rest;
    return line + QLatin1Char('.');
}
