#include "device/RunProgress.h"

QString RunProgress::nameOf(Phase phase) {
    switch (phase) {
    case Phase::Writing:
        return QStringLiteral("scrittura");
    case Phase::Verifying:
        return QStringLiteral("verifica");
    case Phase::Reading:
        return QStringLiteral("lettura");
    case Phase::Backup:
        return QStringLiteral("copia");
    case Phase::Comparison:
        return QStringLiteral("confronto");
    }
    return {};
}

QString RunProgress::during(Phase phase) {
    const QString article =
        phase == Phase::Comparison ? QStringLiteral("il ") : QStringLiteral("la ");
    return QStringLiteral("durante ") + article + nameOf(phase);
}

QString RunProgress::describe() const {
    QString line = phaseName() + QLatin1Char(' ') + QString::number(done);
    if (total > 0)
        line += QStringLiteral(" di ") + QString::number(total);
    if (!address.isEmpty())
        line += QStringLiteral(" · indirizzo ") + QString::fromLatin1(address);
    if (msLeft >= 0) {
        const qint64 seconds = (msLeft + 999) / 1000;
        line += QStringLiteral(" · mancano %1:%2")
                    .arg(seconds / 60)
                    .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    }
    return line;
}

qint64 RunClock::msLeft(int remainingExchanges) const {
    if (m_exchanges == 0)
        return -1;
    return m_timer.elapsed() * qMax(remainingExchanges, 0) / m_exchanges;
}

QString RunProgress::stoppedAt(const std::optional<RunProgress>& last) {
    if (!last || last->done == 0)
        return QStringLiteral("prima del primo scambio");
    return QStringLiteral("%1, dopo l'indirizzo %2 (%3 di %4)")
        .arg(during(last->phase), QString::fromLatin1(last->address))
        .arg(last->done)
        .arg(last->total);
}
