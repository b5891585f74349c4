#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <optional>

// Where a long run stands, for whoever shows it: the phase, the address just
// exchanged, how many exchanges of the phase are done and the time left.
struct RunProgress {
    enum class Phase {
        Writing,
        Verifying,
        Reading,
        // Reading every text of the unit into a copy before anything is written.
        Backup,
        // Reading the file's addresses to compare them with the file.
        Comparison,
    };

    Phase phase = Phase::Reading;
    QByteArray address;
    int done = 0;
    // How many exchanges the phase has; 0 when not known.
    int total = 0;
    // Estimated from this run's own exchanges; negative until one is done.
    qint64 msLeft = -1;

    QString phaseName() const { return nameOf(phase); }
    // "scrittura", "confronto", ...; and with its article after "durante":
    // "durante la scrittura", "durante il confronto".
    static QString nameOf(Phase phase);
    static QString during(Phase phase);
    // One line for the operator, such as
    // "scrittura 12 di 512 · indirizzo 011 · mancano 1:02".
    QString describe() const;
    // Where a run that was stopped stood: "durante la lettura, dopo
    // l'indirizzo 011 (12 di 512)", or "prima del primo scambio".
    static QString stoppedAt(const std::optional<RunProgress>& last);
};

// Times a run's exchanges to estimate how long the remaining ones will take.
class RunClock {
  public:
    RunClock() { m_timer.start(); }
    void exchangeDone() { ++m_exchanges; }
    qint64 msLeft(int remainingExchanges) const;

  private:
    QElapsedTimer m_timer;
    int m_exchanges = 0;
};
