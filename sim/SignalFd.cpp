#include "SignalFd.h"

#include <sys/signalfd.h>
#include <unistd.h>

SignalFd::SignalFd(std::initializer_list<int> numbers) {
    sigset_t set;
    sigemptyset(&set);
    for (const int number : numbers)
        sigaddset(&set, number);
    pthread_sigmask(SIG_BLOCK, &set, &previous_);
    fd_.reset(::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC));
}

SignalFd::~SignalFd() {
    fd_.reset();
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

int SignalFd::take() {
    signalfd_siginfo info{};
    if (::read(fd_.get(), &info, sizeof info) != static_cast<ssize_t>(sizeof info))
        return 0;
    return static_cast<int>(info.ssi_signo);
}
