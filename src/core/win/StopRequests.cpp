#include "core/StopRequests.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>

#include <windows.h>

namespace {

// The POSIX numbers the console's events stand for, so that a stop ends the
// program with the same exit status on every system (128 + the number).
constexpr int Interrupt = 2;  // SIGINT
constexpr int Terminate = 15; // SIGTERM
constexpr int HangUp = 1;     // SIGHUP

// The instance the handler reaches: Windows calls the handler on a thread of
// its own.
QMutex instanceMutex;
StopRequests* instance = nullptr;
QList<int> waiting;
QList<int> seen;

int numberOf(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
        return Interrupt;
    case CTRL_BREAK_EVENT:
        return Terminate;
    default: // the console closed, the user logging off, the system shutting down
        return HangUp;
    }
}

BOOL WINAPI onConsoleEvent(DWORD event) {
    const int number = numberOf(event);
    {
        const QMutexLocker lock(&instanceMutex);
        // A second request of the same kind goes to Windows' own handler,
        // which ends the program at once.
        if (!instance || seen.contains(number))
            return FALSE;
        seen += number;
        waiting += number;
        emit instance->arrived();
    }
    // Windows ends the process as soon as this returns from a closing
    // console: it waits here (up to the few seconds Windows grants) while the
    // program closes its file and the port and exits.
    if (number == HangUp)
        ::Sleep(INFINITE);
    return TRUE;
}

} // namespace

struct StopRequests::Handlers {
    bool installed = false;
};

StopRequests::StopRequests() : m_handlers(std::make_unique<Handlers>()) {
    const QMutexLocker lock(&instanceMutex);
    instance = this;
    waiting.clear();
    seen.clear();
    m_handlers->installed = ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

StopRequests::~StopRequests() {
    if (m_handlers->installed)
        ::SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    const QMutexLocker lock(&instanceMutex);
    instance = nullptr;
}

bool StopRequests::watching() const {
    return m_handlers->installed;
}

int StopRequests::take() {
    const QMutexLocker lock(&instanceMutex);
    return waiting.isEmpty() ? 0 : waiting.takeFirst();
}

QString StopRequests::name(int number) {
    switch (number) {
    case Interrupt:
        return QStringLiteral("Ctrl+C");
    case Terminate:
        return QStringLiteral("Ctrl+Interr");
    case HangUp:
        return QStringLiteral("chiusura della console");
    default:
        return QStringLiteral("richiesta %1").arg(number);
    }
}
