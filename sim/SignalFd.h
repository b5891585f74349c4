#pragma once

#include "FileDescriptor.h"

#include <initializer_list>
#include <signal.h>

// Turns the given signals into readable events on a descriptor: they are
// blocked for the process (create it before any thread starts) and queued on a
// signalfd instead, so an event loop can end the program in an orderly way.
class SignalFd {
  public:
    explicit SignalFd(std::initializer_list<int> numbers);
    ~SignalFd();

    SignalFd(const SignalFd&) = delete;
    SignalFd& operator=(const SignalFd&) = delete;

    int fd() const { return m_fd.get(); }
    // Takes the pending signal off the descriptor; 0 when there is none.
    int take();

  private:
    sigset_t m_previous{};
    FileDescriptor m_fd;
};
