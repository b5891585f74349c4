#pragma once

#include <QObject>
#include <QTimer>

#include <csignal>
#include <initializer_list>
#include <utility>
#include <vector>

class QSocketNotifier;
struct Variabili;

// Turns the given signals (SIGINT, SIGTERM, SIGHUP) into an orderly stop. The
// handler only writes the signal's number to a pipe that the event loop
// watches; every wait of the program runs that loop, so the stop is seen
// there. stopRequested is set at once, so no further frame is sent, while the
// exchange under way finishes; then closeRequested is set: the running
// operation ends at its next wait and closes its file and the port as it
// would after any failure. A second signal of the same kind ends the program
// at once. One instance at a time.
class StopSignals : public QObject {
    Q_OBJECT
  public:
    StopSignals(Variabili& v, std::initializer_list<int> numbers, QObject* parent = nullptr);
    ~StopSignals() override;

    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The first signal received, 0 when none.
    int received() const { return m_received; }
    // The usual name of a signal, such as "SIGTERM".
    static QString name(int number);

  signals:
    // closeRequested has just been set for the signal received.
    void stopping(int number);

  private:
    void takeSignal();
    void stopBetweenExchanges();

    Variabili& m_v;
    // What the signals did before, given back at destruction.
    std::vector<std::pair<int, struct sigaction>> m_previous;
    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
    QTimer m_lineFreeCheck;
    int m_received = 0;
    bool m_stopping = false;
};
