#include "ui/editor/EditorChecks.h"

#include "core/Variabili.h"
#include "files/RecordLayout.h"
#include "ui/editor/EditorColours.h"
#include "ui/editor/FieldHighlighter.h"
#include "ui/editor/LineGutter.h"
#include "ui/editor/LineJudgements.h"
#include "ui/editor/LineReasons.h"
#include "ui/editor/MessageTextArea.h"
#include "ui/editor/SteadyLabel.h"
#include "ui/editor/TextPreview.h"

#include <QBoxLayout>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int addressLength = RecordLayout::addressDigits;
constexpr int recordLength = RecordLayout::recordLength;
constexpr int remainderShown = 12;

QString count(int n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
}

QString field(int column) {
    if (column <= addressLength)
        return QStringLiteral("indirizzo, cifra %1 di %2").arg(column).arg(addressLength);
    if (column <= recordLength)
        return QStringLiteral("testo, carattere %1 di %2")
            .arg(column - addressLength)
            .arg(RecordLayout::textLength);
    return QStringLiteral("commento (non inviato)");
}

} // namespace

EditorChecks::EditorChecks(MessageTextArea& area)
    : QObject(&area), m_area(area), m_judgements(new LineJudgements(*area.document(), this)),
      m_panel(new QWidget), m_previewRow(new QWidget), m_preview(new TextPreview) {
    auto* status =
        new SteadyLabel(QStringLiteral("lineStatus"), QStringLiteral("Stato della riga"), 2);
    auto* summary = new SteadyLabel(QStringLiteral("programmingSummary"),
                                    QStringLiteral("Riepilogo della programmazione"), 1);
    m_status = status->label();
    m_summary = summary->label();
    const EditorColours colours(area.palette());
    m_highlighter = new FieldHighlighter(area.document(), colours);
    m_gutter = new LineGutter(area, *m_judgements, colours);
    area.setMargin(m_gutter, m_gutter->preferredWidth());
    area.installEventFilter(this);

    m_preview->setFont(area.font());
    auto* previewLabel = new QLabel(QStringLiteral("Anteprima:"));
    previewLabel->setBuddy(m_preview);
    auto* previewRow = new QHBoxLayout(m_previewRow);
    previewRow->setContentsMargins(0, 0, 0, 0);
    previewRow->addWidget(previewLabel);
    previewRow->addWidget(m_preview);
    auto* layout = new QVBoxLayout(m_panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(status);
    layout->addWidget(summary);

    connect(m_judgements, &LineJudgements::changed, this, [this] {
        showSummary();
        showCursorLine();
    });
    connect(&area, &QPlainTextEdit::cursorPositionChanged, this, &EditorChecks::showCursorLine);
    connect(area.document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) {
                if (m_splitQueued || added == 0)
                    return;
                QTextCursor range(m_area.document());
                range.setPosition(position);
                range.setPosition(qMin(position + added, m_area.document()->characterCount() - 1),
                                  QTextCursor::KeepAnchor);
                if (!range.selectedText().contains(QChar::LineSeparator))
                    return;
                m_splitQueued = true;
                QTimer::singleShot(0, this, &EditorChecks::splitLineSeparators);
            });
    showSummary();
    showCursorLine();
}

// The colours follow the palette, so that a desktop turning dark while the
// editor is open leaves every line legible.
bool EditorChecks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_area && event->type() == QEvent::PaletteChange) {
        const EditorColours colours(m_area.palette());
        m_highlighter->setColours(colours);
        m_gutter->setColours(colours);
    }
    return QObject::eventFilter(watched, event);
}

// Saving writes a line separator (Shift+Enter, or pasted) as a line end; so
// that each line of the area is one line of the file, it becomes a line break
// here, which saving writes the same way.
void EditorChecks::splitLineSeparators() {
    m_splitQueued = false;
    QTextDocument& document = *m_area.document();
    const QString separator(QChar::LineSeparator);
    QTextCursor found = document.find(separator);
    if (found.isNull())
        return;
    // One undo step with the edit that brought the separators in.
    QTextCursor edit(&document);
    edit.joinPreviousEditBlock();
    while (!found.isNull()) {
        found.insertText(QStringLiteral("\n"));
        found = document.find(separator, found);
    }
    edit.endEditBlock();
}

void EditorChecks::showCursorLine() {
    const QTextCursor cursor = m_area.textCursor();
    const int index = cursor.blockNumber();
    const int column = cursor.positionInBlock() + 1;
    if (index >= m_judgements->lineCount()) {
        const QString after = QStringLiteral("dopo l'ultimo a capo: nessuna riga");
        m_status->setText(
            QStringLiteral("Riga %1, colonna %2 · %3").arg(index + 1).arg(column).arg(after));
        m_area.setAccessibleDescription(QStringLiteral("Riga %1: %2").arg(index + 1).arg(after));
        m_preview->show16({}, false);
        return;
    }
    const EditorLine& line = m_judgements->line(index);
    const ProgrammingRun::Line& context = m_judgements->run().line(index);
    QStringList reasons = LineReasons::reasons(line, context, m_judgements->run().terminator());
    const bool sent =
        line.programming.kind == ProgrammingLineKind::Message && !context.fromTerminatorOn;
    if (sent)
        reasons.prepend(QStringLiteral("inviata all'indirizzo %1")
                            .arg(LineReasons::address(line.programming.address)));
    const QString text = cursor.block().text();
    const QString remainder = text.mid(recordLength);
    if (sent && !remainder.isEmpty())
        reasons.append(
            QStringLiteral("dal 17° carattere in poi («%1%2») è commento: non va all'unità")
                .arg(remainder.left(remainderShown),
                     remainder.size() > remainderShown ? QStringLiteral("…") : QString()));
    const QString verdict = reasons.join(QStringLiteral("; "));
    m_status->setText(QStringLiteral("Riga %1, colonna %2 · %3 · %4")
                          .arg(index + 1)
                          .arg(column)
                          .arg(field(column), verdict));
    m_area.setAccessibleDescription(QStringLiteral("Riga %1: %2").arg(index + 1).arg(verdict));

    m_preview->show16(text.mid(addressLength, recordLength - addressLength), sent);
}

void EditorChecks::showSummary() {
    const ProgrammingRun& run = m_judgements->run();
    // Programming refuses a file beyond the message table; the summary says
    // so rather than promise what will not be sent.
    const QString sent =
        run.sent() > Variabili::MessageSlots
            ? QStringLiteral("%1 messaggi, più dei %2 che si possono inviare in una volta: "
                             "Invia file al TARVO rifiuterà il file")
                  .arg(run.sent())
                  .arg(Variabili::MessageSlots)
            : count(run.sent(), "messaggio da inviare", "messaggi da inviare");
    QStringList parts{sent, count(run.passedOver(), "riga saltata", "righe saltate")};
    if (run.terminator() >= 0)
        parts += count(run.neverRead(), "riga dopo la fine", "righe dopo la fine");
    if (m_judgements->duplicates() > 0)
        parts += count(m_judgements->duplicates(), "indirizzo doppio", "indirizzi doppi");
    if (m_judgements->unsavableLines() > 0)
        parts += count(m_judgements->unsavableLines(), "riga che Salva rifiuterà",
                       "righe che Salva rifiuterà");
    m_summary->setText(QStringLiteral("Programmazione: ") + parts.join(QStringLiteral(", ")));
    // One line is shown; a summary longer than the window is whole here.
    m_summary->setToolTip(m_summary->text());
}
