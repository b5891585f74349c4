#pragma once

#include "device/OperationHost.h"
#include "device/OperationResult.h"
#include "device/RunFailure.h"
#include "device/RunProgress.h"
#include "serial/ExchangeReply.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct ProgrammingFile;
class SerialExchange;
struct Variabili;

// The exchanges of every operation that writes, reads back or compares texts:
// programming, comparing, copying and writing only the differing texts. Each
// failure ends as programming's do: " Errore risposta " for a unit that does
// not answer or refuses a write, "Errore Dati non scritti giusti." for a text
// read back differently, " Errore porta seriale " for a port that stopped
// working, each held until acknowledged, with the failure shown as a value
// first. Every frame of a run uses the identifier the run started with. The
// port is open, and the host's commands are off, from open() to destruction.
class UnitTextSession {
  public:
    UnitTextSession(Variabili& v, SerialExchange& exchange, OperationHost& host);
    ~UnitTextSession();
    UnitTextSession(const UnitTextSession&) = delete;
    UnitTextSession& operator=(const UnitTextSession&) = delete;

    // Whether the message file read can be used; false, with the reason
    // shown, when it is unreadable, without any message, or over the message
    // table. Nothing has been sent then.
    bool accepts(const ProgrammingFile& file);
    // Starts the operation named in the trace, then opens the port.
    bool open(const QString& operation);

    // A phase of `total` exchanges begins; each exchange then reports where
    // the run stands, failed ones included, so that a failure or a stop is
    // placed at the frame it happened on.
    void beginPhase(RunProgress::Phase phase, int total);
    // How many exchanges the run expects after this phase, for the time left.
    void expectLater(int exchanges) { m_laterExchanges = exchanges; }

    // The 16 characters at the address; nullopt after the error ending.
    std::optional<QByteArray> read(int address);
    // Writes a record; false after the error ending when it is refused.
    bool write(const QByteArray& record);
    // Reads the address back; false after the error ending when the unit
    // holds another text than `expected`.
    bool readBack(int address, const QByteArray& expected);
    // Why the latest exchange was made or what came of it, in the trace.
    void note(const QString& text);

    void cannotStart(const QString& why);
    // The error ending at the latest exchange: `kind` is what went wrong when
    // the unit did answer; a missing reply and a lost port are told as such.
    void fail(const QByteArray& testoErrore, RunFailure::Kind kind, const QByteArray& expected = {},
              const QByteArray& received = {});
    OperationResult result() const { return m_result; }
    OperationHost& host() { return m_host; }
    Variabili& variables() { return m_v; }

  private:
    void exchange(const QByteArray& frame, qint16 replyLength, const QByteArray& address);

    Variabili& m_v;
    SerialExchange& m_exchange;
    OperationHost& m_host;
    QByteArray m_identifier;
    std::optional<CommandsDisabled> m_commandsOff;
    bool m_open = false;
    RunClock m_clock;
    RunProgress::Phase m_phase = RunProgress::Phase::Reading;
    int m_total = 0;
    int m_done = 0;
    int m_laterExchanges = 0;
    QByteArray m_address;
    ExchangeReply m_lastReply;
    OperationResult m_result = OperationResult::Succeeded;
};
