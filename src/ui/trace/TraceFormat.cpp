#include "ui/trace/TraceFormat.h"

#include "core/Windows1252.h"

#include <QStringList>

namespace TraceFormat {

namespace {

QString bytesAsText(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size() + 8);
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code == '\r')
            text += QStringLiteral("<CR>");
        else if (code == '\n')
            text += QStringLiteral("<LF>");
        else if (code < 0x20 || code == 0x7f)
            text += QStringLiteral("<%1>").arg(code, 2, 16, QLatin1Char('0')).toUpper();
        else
            text += Windows1252::decode(QByteArray(1, byte));
    }
    return text;
}

QString markName(LineTrace::Mark mark) {
    switch (mark) {
    case LineTrace::Mark::None:
        return QStringLiteral("ok");
    case LineTrace::Mark::Timeout:
        return QStringLiteral("tempo scaduto");
    case LineTrace::Mark::NotSent:
        return QStringLiteral("non inviato");
    case LineTrace::Mark::PortFailure:
        return QStringLiteral("errore della porta");
    case LineTrace::Mark::Refused:
        return QStringLiteral("scrittura rifiutata");
    case LineTrace::Mark::Mismatch:
        return QStringLiteral("dati diversi");
    case LineTrace::Mark::InvalidReply:
        return QStringLiteral("risposta non valida");
    case LineTrace::Mark::EchoDiffers:
        return QStringLiteral("eco diversa dalla trama");
    }
    return {};
}

QString outcome(const LineTrace::Exchange& exchange) {
    const QString text = markName(exchange.mark);
    return exchange.note.isEmpty() ? text : text + QStringLiteral(": ") + exchange.note;
}

} // namespace

QString heading(int column) {
    switch (column) {
    case Time:
        return QStringLiteral("Tempo (s)");
    case Took:
        return QStringLiteral("Durata (ms)");
    case Sent:
        return QStringLiteral("Inviato");
    case SentHex:
        return QStringLiteral("Inviato (esadecimale)");
    case Received:
        return QStringLiteral("Ricevuto");
    case ReceivedHex:
        return QStringLiteral("Ricevuto (esadecimale)");
    case Outcome:
        return QStringLiteral("Esito");
    }
    return {};
}

QString field(const LineTrace::Exchange& exchange, int column) {
    if (opensOperation(exchange)) {
        // Date and time first, where the column's width never hides them.
        switch (column) {
        case Sent:
            return exchange.startedAt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) +
                   QStringLiteral(" · ") + exchange.operation;
        case Outcome:
            return exchange.line.isEmpty()
                       ? QStringLiteral("inizio dell'operazione")
                       : QStringLiteral("inizio dell'operazione %1").arg(exchange.line);
        default:
            return {};
        }
    }
    switch (column) {
    case Time:
        return QString::number(double(exchange.sinceStartNs) / 1e9, 'f', 4);
    case Took:
        return QString::number(double(exchange.tookNs) / 1e6, 'f', 2);
    case Sent:
        return bytesAsText(exchange.sent);
    case SentHex:
        return QString::fromLatin1(exchange.sent.toHex(' ').toUpper());
    case Received:
        return bytesAsText(exchange.received);
    case ReceivedHex:
        return QString::fromLatin1(exchange.received.toHex(' ').toUpper());
    case Outcome:
        return outcome(exchange);
    }
    return {};
}

bool opensOperation(const LineTrace::Exchange& exchange) {
    return !exchange.operation.isEmpty();
}

QString document(const LineTrace& trace) {
    QStringList fields;
    for (int column = 0; column < ColumnCount; ++column)
        fields += heading(column);
    QString text = fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (int index = 0; index < trace.size(); ++index) {
        fields.clear();
        for (int column = 0; column < ColumnCount; ++column)
            fields += field(trace.at(index), column);
        text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

} // namespace TraceFormat
