#pragma once

#include <QObject>
#include <QString>

#include <memory>

// The system's requests that the program end, each taken as the number of
// the POSIX signal it stands for: SIGINT, SIGTERM and SIGHUP on POSIX
// systems; on Windows the console's Ctrl+C (SIGINT), Ctrl+Break (SIGTERM) and
// the console closed or the session ending (SIGHUP). arrived() is emitted in
// the event loop's thread. A second request of the same kind ends the program
// at once. What the requests did before is given back at destruction. One
// instance at a time.
class StopRequests : public QObject {
    Q_OBJECT
  public:
    StopRequests();
    ~StopRequests() override;

    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    // Whether requests are taken at all (false when the system refused).
    bool watching() const;
    // The number of the next request waiting, 0 when none.
    int take();

    // The usual name of a request, such as "SIGTERM" or "Ctrl+C".
    static QString name(int number);

  signals:
    // One or more requests wait to be taken.
    void arrived();

  private:
    struct Handlers;
    std::unique_ptr<Handlers> m_handlers;
};
