// Strumenti → "Copie dell'unità": the window of the program's copies, and
// what its commands do, each run as the main window runs its own.
#include "ui/main/FormScriveMessaggi.h"

#include "core/Variabili.h"
#include "device/RestoreCopy.h"
#include "files/LocalFileName.h"

#include <QDateTime>

#include <utility>

void FormScriveMessaggi::showUnitCopies() {
    if (!m_copies)
        m_copies =
            m_windows.unitCopies({[this](const QString& path) { openCopyInEditor(path); },
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
    // The file picked in the lists stays picked; no run may be under way
    // while it is set aside.
    if (m_operationRunning)
        return;
    const QByteArray picked = std::exchange(m_v.FileSelezionato, LocalFileName::encode(path));
    compareWithUnit();
    m_v.FileSelezionato = picked;
}

void FormScriveMessaggi::putCopyBack(const QString& path) {
    runMenuOperation([this, path] {
        RestoreSummary summary;
        restoreCopy(m_v, m_exchange, *this, path, QDateTime::currentDateTime(), summary);
        if (summary.texts.written > 0)
            unitWritten();
        if (!summary.freshCopy.isEmpty())
            showSending(QStringLiteral("Copia dei testi di prima: %1").arg(summary.freshCopy));
    });
    if (m_copies && !m_v.closeRequested)
        m_copies->refresh();
}
