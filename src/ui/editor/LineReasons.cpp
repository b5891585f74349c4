#include "ui/editor/LineReasons.h"

#include "files/RecordLayout.h"

#include <array>

namespace LineReasons {

namespace {

// What a line is judged on when its sentence is written.
struct Facts {
    const EditorLine& line;
    const ProgrammingRun::Line& context;
    int terminatorLine;
};

enum class Reason {
    Unsavable,
    Tab,
    Terminator,
    NeverRead,
    Empty,
    Separator,
    NoAddress,
    AddressTooHigh,
    Duplicate,
};

using Sentence = QString (*)(const Facts& facts);

// One sentence per reason, in the order of Reason, for the status line.
const std::array<Sentence, 9>& table() {
    static const std::array<Sentence, 9> rows{{
        [](const Facts& f) {
            return QStringLiteral(
                       "alla colonna %1 un carattere che un file .tvo non può contenere: "
                       "Salva lo rifiuterà")
                .arg(f.line.unsavableColumn);
        },
        [](const Facts& f) {
            return QStringLiteral("una tabulazione alla colonna %1 sposta le colonne")
                .arg(f.line.tabColumn);
        },
        [](const Facts&) { return QStringLiteral("riga di fine: la programmazione si ferma qui"); },
        [](const Facts& f) {
            return QStringLiteral("dopo la riga di fine (riga %1): mai letta")
                .arg(f.terminatorLine + 1);
        },
        [](const Facts&) { return QStringLiteral("riga vuota: non inviata"); },
        [](const Facts&) { return QStringLiteral("separatore: non inviato"); },
        [](const Facts&) {
            return QStringLiteral(
                "senza indirizzo (le colonne 1-3 non sono tre cifre): non inviata");
        },
        [](const Facts& f) {
            return QStringLiteral("indirizzo %1 oltre %2: non inviata")
                .arg(address(f.line.programming.address))
                .arg(RecordLayout::highestAddress);
        },
        [](const Facts& f) {
            return QStringLiteral(
                       "indirizzo %1 già alla riga %2: l'unità terrà il testo di questa "
                       "riga e la verifica della riga %2 fallirà se i testi differiscono")
                .arg(address(f.line.programming.address))
                .arg(f.context.duplicateOf + 1);
        },
    }};
    return rows;
}

Sentence sentence(Reason reason) {
    return table()[static_cast<std::size_t>(reason)];
}

// The reasons that apply to a line, most important first.
QList<Reason> applying(const EditorLine& line, const ProgrammingRun::Line& context) {
    QList<Reason> found;
    if (line.unsavableColumn >= 0)
        found += Reason::Unsavable;
    if (line.tabColumn >= 0)
        found += Reason::Tab;
    if (context.fromTerminatorOn) {
        found += line.programming.kind == ProgrammingLineKind::Terminator ? Reason::Terminator
                                                                          : Reason::NeverRead;
        return found;
    }
    switch (line.programming.kind) {
    case ProgrammingLineKind::Empty:
        found += Reason::Empty;
        break;
    case ProgrammingLineKind::Separator:
        found += Reason::Separator;
        break;
    case ProgrammingLineKind::NoAddress:
        found += Reason::NoAddress;
        break;
    case ProgrammingLineKind::AddressTooHigh:
        found += Reason::AddressTooHigh;
        break;
    case ProgrammingLineKind::Terminator:
    case ProgrammingLineKind::Message:
        break;
    }
    if (context.duplicateOf >= 0)
        found += Reason::Duplicate;
    return found;
}

} // namespace

QString address(int value) {
    return QString::fromLatin1(RecordLayout::addressText(value));
}

Mark mark(const EditorLine& line, const ProgrammingRun::Line& context) {
    const QList<Reason> found = applying(line, context);
    if (found.isEmpty())
        return {};
    if (found.first() == Reason::Unsavable)
        return {Severity::Error, QStringLiteral("errore")};
    switch (found.last()) {
    case Reason::Terminator:
        return {Severity::Notice, QStringLiteral("fine")};
    case Reason::NeverRead:
        return {Severity::Notice, QStringLiteral("mai")};
    case Reason::Empty:
    case Reason::Separator:
    case Reason::NoAddress:
    case Reason::AddressTooHigh:
        return {Severity::Notice, QStringLiteral("salta")};
    case Reason::Unsavable:
    case Reason::Tab:
    case Reason::Duplicate:
        break;
    }
    return {Severity::Warning, QStringLiteral("invia")};
}

QStringList markWords() {
    return {QStringLiteral("errore"), QStringLiteral("fine"), QStringLiteral("mai"),
            QStringLiteral("salta"), QStringLiteral("invia")};
}

QStringList reasons(const EditorLine& line, const ProgrammingRun::Line& context,
                    int terminatorLine) {
    const Facts facts{line, context, terminatorLine};
    QStringList all;
    for (const Reason reason : applying(line, context))
        all += sentence(reason)(facts);
    return all;
}

} // namespace LineReasons
