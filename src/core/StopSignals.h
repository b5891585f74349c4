#pragma once

#include "core/StopRequests.h"

#include <QObject>
#include <QTimer>

struct Variabili;

// Turns the system's requests to end (SIGINT, SIGTERM, SIGHUP) into an
// orderly stop. They arrive through the event loop (StopRequests); every wait of the program runs
// that loop, so the stop is seen there. stopRequested is set at once, so no further frame is sent,
// while the exchange under way finishes; then closeRequested is set: the running operation ends at
// its next wait and closes its file and the port as it would after any failure. A second signal of
// the same kind ends the program at once. One instance at a time.
class StopSignals : public QObject {
    Q_OBJECT
  public:
    explicit StopSignals(Variabili& v, QObject* parent = nullptr);

    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The first signal received, 0 when none.
    int received() const { return m_received; }
    // The usual name of a request, such as "SIGTERM" or "Ctrl+C".
    static QString name(int number) { return StopRequests::name(number); }

  signals:
    // closeRequested has just been set for the signal received.
    void stopping(int number);

  private:
    void takeSignal();
    void stopBetweenExchanges();

    Variabili& m_v;
    StopRequests m_requests;
    QTimer m_lineFreeCheck;
    int m_received = 0;
    bool m_stopping = false;
};
