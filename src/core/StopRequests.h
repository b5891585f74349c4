#pragma once

#include <QString>

#include <memory>

// The system's requests that the program end (on POSIX systems SIGINT,
// SIGTERM and SIGHUP), each delivered as its number on a descriptor that the
// event loop can watch. A second request of the same kind ends the program at
// once. What the requests did before is given back at destruction. One
// instance at a time.
class StopRequests {
  public:
    StopRequests();
    ~StopRequests();

    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    // The descriptor to watch for reading; -1 when none could be made, and
    // then no request is taken.
    int descriptor() const;
    // The number of the next request waiting, 0 when none.
    int take();

    // The usual name of a request, such as "SIGTERM".
    static QString name(int number);

  private:
    struct Handlers;
    std::unique_ptr<Handlers> m_handlers;
};
