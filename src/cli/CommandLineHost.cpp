#include "cli/CommandLineHost.h"

#include "cli/Terminal.h"
#include "core/Variabili.h"
#include "files/LocalFileName.h"
#include "files/ScriviFileMessaggi.h"

#include <utility>

CommandLineHost::CommandLineHost(Variabili& v, QString savePath, QByteArray comment,
                                 std::FILE* progressOut)
    : m_v(v), m_savePath(std::move(savePath)), m_comment(std::move(comment)),
      m_progressOut(progressOut && isTerminal(progressOut) ? progressOut : nullptr) {}

void CommandLineHost::showProgress(const RunProgress& progress) {
    m_progressBeforeLast = std::exchange(m_lastProgress, progress);
    if (!m_progressOut)
        return;
    // One line, redrawn in place; cleared to its end since it may shrink.
    writeText(m_progressOut, QLatin1Char('\r') + progress.describe() + QStringLiteral("\033[K"));
    std::fflush(m_progressOut);
    m_progressShown = true;
}

void CommandLineHost::endProgress() {
    if (!m_progressShown)
        return;
    writeText(m_progressOut, QStringLiteral("\r\033[K"));
    std::fflush(m_progressOut);
    m_progressShown = false;
}

void CommandLineHost::offerForSaving() {
    const bool existed = LocalFileName::status(m_savePath).isFile;
    const WriteOutcome written = ScriviFileMessaggi(m_savePath, m_comment, m_v.TestoMessaggi);
    m_saved = written.ok();
    if (!m_saved)
        m_saveError = written.report(existed);
    if (m_saved)
        m_v.FileSelezionato = LocalFileName::encode(m_savePath);
}
