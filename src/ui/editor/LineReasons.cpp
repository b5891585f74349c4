#include "ui/editor/LineReasons.h"

namespace LineReasons {

QString address(int value) {
    return QStringLiteral("%1").arg(value, 3, 10, QLatin1Char('0'));
}

Mark mark(const EditorLine& line, const ProgrammingRun::Line& context) {
    if (line.unsavableColumn >= 0)
        return {Severity::Error, QStringLiteral("NO SALVA")};
    if (line.tabColumn >= 0)
        return {Severity::Error, QStringLiteral("TAB")};
    if (context.fromTerminatorOn)
        return {Severity::Notice, line.programming.kind == ProgrammingLineKind::Terminator
                                      ? QStringLiteral("FINE")
                                      : QStringLiteral("mai letta")};
    switch (line.programming.kind) {
    case ProgrammingLineKind::Empty:
        return {Severity::Notice, QStringLiteral("vuota")};
    case ProgrammingLineKind::Separator:
        return {Severity::Notice, QStringLiteral("separat.")};
    case ProgrammingLineKind::NoAddress:
        return {Severity::Notice, QStringLiteral("no indir.")};
    case ProgrammingLineKind::AddressTooHigh:
        return {Severity::Notice, QStringLiteral("> 511")};
    case ProgrammingLineKind::Terminator:
    case ProgrammingLineKind::Message:
        break;
    }
    if (context.duplicateOf >= 0)
        return {Severity::Warning, QStringLiteral("doppio")};
    return {};
}

QStringList reasons(const EditorLine& line, const ProgrammingRun::Line& context,
                    int terminatorLine) {
    QStringList all;
    if (line.unsavableColumn >= 0)
        all += QStringLiteral("alla colonna %1 un carattere che un file .tvo non può contenere: "
                              "Salva lo rifiuterà")
                   .arg(line.unsavableColumn);
    if (line.tabColumn >= 0)
        all +=
            QStringLiteral("una tabulazione alla colonna %1 sposta le colonne").arg(line.tabColumn);
    if (context.fromTerminatorOn) {
        if (line.programming.kind == ProgrammingLineKind::Terminator)
            all += QStringLiteral("riga di fine: la programmazione si ferma qui");
        else
            all +=
                QStringLiteral("dopo la riga di fine (riga %1): mai letta").arg(terminatorLine + 1);
        return all;
    }
    switch (line.programming.kind) {
    case ProgrammingLineKind::Empty:
        all += QStringLiteral("riga vuota: non inviata");
        break;
    case ProgrammingLineKind::Separator:
        all += QStringLiteral("separatore: non inviato");
        break;
    case ProgrammingLineKind::NoAddress:
        all += QStringLiteral("senza indirizzo (le colonne 1-3 non sono tre cifre): non inviata");
        break;
    case ProgrammingLineKind::AddressTooHigh:
        all += QStringLiteral("indirizzo %1 oltre 511: non inviata")
                   .arg(address(line.programming.address));
        break;
    case ProgrammingLineKind::Terminator:
    case ProgrammingLineKind::Message:
        break;
    }
    if (context.duplicateOf >= 0)
        all += QStringLiteral("indirizzo %1 già alla riga %2: l'unità terrà il testo di questa "
                              "riga e la verifica della riga %2 fallirà se i testi differiscono")
                   .arg(address(line.programming.address))
                   .arg(context.duplicateOf + 1);
    return all;
}

} // namespace LineReasons
