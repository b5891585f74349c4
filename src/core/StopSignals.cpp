#include "core/StopSignals.h"

#include "core/Variabili.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The write end of the pipe, for the handler: a handler can reach nothing else.
volatile sig_atomic_t handlerPipe = -1;

// Only async-signal-safe work: one byte into a non-blocking pipe.
void onSignal(int number) {
    const int savedErrno = errno;
    const char byte = char(number);
    if (handlerPipe >= 0) {
        // A full pipe already holds a stop: the byte is not needed then.
        [[maybe_unused]] const ssize_t written = ::write(handlerPipe, &byte, 1);
    }
    errno = savedErrno;
}

// How often a stop that arrived during an exchange looks whether the line is
// free; an exchange lasts at most the reply time.
constexpr int lineFreeCheckMs = 5;

} // namespace

StopSignals::StopSignals(Variabili& v, std::initializer_list<int> numbers, QObject* parent)
    : QObject(parent), m_v(v) {
    if (::pipe2(m_pipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    handlerPipe = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::takeSignal);
    m_lineFreeCheck.setInterval(lineFreeCheckMs);
    connect(&m_lineFreeCheck, &QTimer::timeout, this, &StopSignals::stopBetweenExchanges);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // A second signal finds the default action again: a program that does not
    // stop can still be ended by asking twice.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int number : numbers) {
        struct sigaction previous {};
        if (::sigaction(number, &action, &previous) == 0)
            m_previous.emplace_back(number, previous);
    }
}

StopSignals::~StopSignals() {
    for (const auto& [number, previous] : m_previous)
        ::sigaction(number, &previous, nullptr);
    handlerPipe = -1;
    for (const int end : m_pipe)
        if (end >= 0)
            ::close(end);
}

QString StopSignals::name(int number) {
    switch (number) {
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    default:
        return QStringLiteral("segnale %1").arg(number);
    }
}

void StopSignals::takeSignal() {
    char byte = 0;
    while (::read(m_pipe[0], &byte, 1) == 1)
        if (m_received == 0)
            m_received = byte;
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
