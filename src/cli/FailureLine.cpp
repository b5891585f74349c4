#include "cli/FailureLine.h"

#include "cli/CommandLineHost.h"
#include "core/ShownText.h"

namespace {

QString labelled(const QString& label, const QByteArray& text) {
    return QStringLiteral("%1: %2").arg(label, ShownText::quoted(text));
}

// The texts that tell the failure apart: what the unit answered, or what it
// should hold and what it holds.
QString textsOf(const RunFailure& failure) {
    switch (failure.kind) {
    case RunFailure::Kind::RefusedWrite:
    case RunFailure::Kind::InvalidReply:
    case RunFailure::Kind::UnexpectedEcho:
        return labelled(QStringLiteral("risposta"), failure.received);
    case RunFailure::Kind::TextDiffers:
        return labelled(QStringLiteral("testo atteso"), failure.expected) + QStringLiteral("; ") +
               labelled(QStringLiteral("testo letto"), failure.received);
    case RunFailure::Kind::TextNotStorable:
        return labelled(QStringLiteral("testo letto"), failure.received);
    case RunFailure::Kind::NoReply:
    case RunFailure::Kind::PortLost:
    case RunFailure::Kind::EchoDiffers:
        return {};
    }
    return {};
}

} // namespace

QString failureLine(const CommandLineHost& host) {
    if (host.error().isEmpty())
        return host.note().isEmpty() ? host.outcome() : host.outcome() + u' ' + host.note();
    QString line = host.error().trimmed();
    if (line.endsWith(QLatin1Char('.')))
        line.chop(1);
    if (const std::optional<RunFailure>& failure = host.failure()) {
        line += QStringLiteral(": ") + failure->problem();
        if (const QString texts = textsOf(*failure); !texts.isEmpty())
            line += QStringLiteral(" (") + texts + QLatin1Char(')');
        line += QStringLiteral("; ") + RunFailure::leftBehind(failure->phase) + QLatin1Char('.');
    } else {
        line += QStringLiteral(": ") + host.outcome();
    }
    return line;
}
