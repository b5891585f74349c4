#include "SignalFd.h"

#include <sys/signalfd.h>
#include <unistd.h>

SignalFd::SignalFd(std::initializer_list<int> numbers) {
    sigset_t set;
    sigemptyset(&set);
    for (const int number : numbers)
        sigaddset(&set, number);
    pthread_sigmask(SIG_BLOCK, &set, &m_previous);
    m_fd.reset(::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC));
}

SignalFd::~SignalFd() {
    m_fd.reset();
    pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

int SignalFd::take() {
    signalfd_siginfo info{};
    if (::read(m_fd.get(), &info, sizeof info) != static_cast<ssize_t>(sizeof info))
        return 0;
    return static_cast<int>(info.ssi_signo);
}
