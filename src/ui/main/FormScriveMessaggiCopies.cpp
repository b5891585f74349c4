// Strumenti → "Copie dell'unità": the window of the program's copies, and
// what its commands do, each run as the main window runs its own.
#include "ui/main/FormScriveMessaggi.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/RestoreCopy.h"
#include "files/LocalFileName.h"
#include "ui/main/NoteLine.h"

#include <QDateTime>

#include <utility>

void FormScriveMessaggi::showUnitCopies() {
    if (!m_copies)
        m_copies = m_windows.unitCopies({[this](const QString& path) { openCopyInEditor(path); },
                                         [this](const QString& path) { compareCopy(path); },
                                         [this](const QString& path) { putCopyBack(path); }},
                                        this);
    m_copies->present();
}

void FormScriveMessaggi::setCopiesEnabled(bool enabled) {
    m_copiesAction->setEnabled(enabled);
    if (m_copies)
        m_copies->setCommandsEnabled(enabled);
}

void FormScriveMessaggi::openCopyInEditor(const QString& path) {
    runMenuOperation([this, path] {
        const CommandsDisabled commandsOff(*this);
        const QByteArray copy = LocalFileName::encode(path);
        const QByteArray picked = std::exchange(m_v.FileSelezionato, copy);
        m_windows.editor(this);
        // A file saved from the editor is picked, as after "Modifica Testi";
        // else the file picked before stays picked.
        if (m_v.FileSelezionato == copy)
            m_v.FileSelezionato = picked;
    });
}

void FormScriveMessaggi::compareCopy(const QString& path) {
    // The file picked in the lists stays picked.
    runMenuOperation([this, path] { compareFile(path); });
}

void FormScriveMessaggi::putCopyBack(const QString& path) {
    runMenuOperation([this, path] {
        const QByteArray copyOf = anotherUnitOf(path, m_v.Identificativo);
        if (!copyOf.isEmpty() && !m_copies->confirmAnotherUnit(copyOf, m_v.Identificativo)) {
            showSending(QStringLiteral("Nulla è stato scritto"));
            showOutcome(
                QStringLiteral("La copia è dell'unità %1, non di %2")
                    .arg(Windows1252::decode(copyOf), Windows1252::decode(m_v.Identificativo)));
            return;
        }
        RestoreSummary summary;
        const OperationOutcome outcome =
            restoreCopy(m_v, m_exchange, *this, path, QDateTime::currentDateTime(), summary);
        if (summary.texts.written > 0)
            unitWritten();
        if (!summary.freshCopy.isEmpty())
            showSending(QStringLiteral("Copia dei testi di prima: %1").arg(summary.freshCopy));
        if (!outcome.done())
            showRestoreRetry(path, summary.freshCopy);
    });
    if (m_copies && !m_v.closeRequested)
        m_copies->refresh();
}

void FormScriveMessaggi::showRestoreRetry(const QString& copy, const QString& freshCopy) {
    // The copy stays selected in the copies window: the same command puts it
    // back again, where the newest copy is now what the unit held before.
    QString retry = QStringLiteral("Copia non rimessa: %1. Per riprovare, selezionala in Copie "
                                   "dell'unità e premi Rimetti nell'unità")
                        .arg(LocalFileName::readable(copy));
    if (!freshCopy.isEmpty())
        retry += QStringLiteral(" (la più recente ora è la copia di prima, %1)")
                     .arg(LocalFileName::readable(freshCopy));
    m_note->showNote(m_note->text().isEmpty() ? retry
                                              : m_note->text() + QStringLiteral(" — ") + retry);
}
