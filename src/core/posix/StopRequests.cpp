#include "core/StopRequests.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include <utility>
#include <vector>

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

} // namespace

struct StopRequests::Handlers {
    // What the signals did before, given back at destruction.
    std::vector<std::pair<int, struct sigaction>> previous;
    int pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
};

StopRequests::StopRequests() : m_handlers(std::make_unique<Handlers>()) {
    if (::pipe2(m_handlers->pipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    handlerPipe = m_handlers->pipe[1];
    m_handlers->notifier =
        std::make_unique<QSocketNotifier>(m_handlers->pipe[0], QSocketNotifier::Read);
    connect(m_handlers->notifier.get(), &QSocketNotifier::activated, this, &StopRequests::arrived);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // A second signal finds the default action again: a program that does not
    // stop can still be ended by asking twice.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction previous {};
        if (::sigaction(number, &action, &previous) == 0)
            m_handlers->previous.emplace_back(number, previous);
    }
}

StopRequests::~StopRequests() {
    for (const auto& [number, previous] : m_handlers->previous)
        ::sigaction(number, &previous, nullptr);
    handlerPipe = -1;
    m_handlers->notifier.reset();
    for (const int end : m_handlers->pipe)
        if (end >= 0)
            ::close(end);
}

bool StopRequests::watching() const {
    return m_handlers->notifier != nullptr;
}

int StopRequests::take() {
    char byte = 0;
    return ::read(m_handlers->pipe[0], &byte, 1) == 1 ? byte : 0;
}

QString StopRequests::name(int number) {
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
