#include "core/StopSignals.h"

#include "core/Variabili.h"

namespace {

// How often a stop that arrived during an exchange looks whether the line is
// free; an exchange lasts at most the reply time.
constexpr int lineFreeCheckMs = 5;

} // namespace

StopSignals::StopSignals(Variabili& v, QObject* parent) : QObject(parent), m_v(v) {
    if (!m_requests.watching())
        return;
    connect(&m_requests, &StopRequests::arrived, this, &StopSignals::takeSignal);
    m_lineFreeCheck.setInterval(lineFreeCheckMs);
    connect(&m_lineFreeCheck, &QTimer::timeout, this, &StopSignals::stopBetweenExchanges);
}

void StopSignals::takeSignal() {
    while (const int number = m_requests.take())
        if (m_received == 0)
            m_received = number;
    if (m_received == 0)
        return;
    m_v.stopRequested = true;
    stopBetweenExchanges();
}

// The other waits (acknowledgement, windows) end through closeRequested, set
// only once the exchange under way is over, since its reply wait would end too.
void StopSignals::stopBetweenExchanges() {
    if (m_v.SerialeOccupata && !m_v.closeRequested) {
        m_lineFreeCheck.start();
        return;
    }
    m_lineFreeCheck.stop();
    if (m_stopping)
        return;
    m_stopping = true;
    m_v.closeRequested = true;
    emit stopping(m_received);
}
