#pragma once

#include "device/OperationResult.h"
#include "device/RunProgress.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct FileTexts;
class SerialExchange;
class OperationHost;
struct Variabili;

// The exchanges that comparing, copying and writing only the differing texts
// share, with the frames and checks of programming. Each failure ends as
// programming's do: " Errore risposta " for a unit that does not answer or
// refuses a write, "Errore Dati non scritti giusti." for a text read back
// differently, " Errore porta seriale " for a port that stopped working, each
// held until acknowledged. The port is open from open() to destruction.
class UnitTextSession {
  public:
    UnitTextSession(Variabili& v, SerialExchange& exchange, OperationHost& host);
    ~UnitTextSession();
    UnitTextSession(const UnitTextSession&) = delete;
    UnitTextSession& operator=(const UnitTextSession&) = delete;

    // Reads the message file; false, with the reason shown, when it cannot be
    // used. Nothing has been sent then.
    bool readFile(const QString& path, FileTexts& texts);
    // Starts the operation named in the trace, then opens the port.
    bool open(const QString& operation);

    // The 16 characters at the address; nullopt after the error ending.
    std::optional<QByteArray> read(int address);
    // Writes a record; false after the error ending when it is refused.
    bool write(const QByteArray& record);
    // Reads a written record back; false after the error ending when the unit
    // holds another text.
    bool readBack(const QByteArray& record);
    // Why the latest exchange was made or what came of it, in the trace.
    void note(const QString& text);

    // One exchange more is done: shows where the run stands, with the time
    // left for the remaining exchanges at this run's pace.
    void reportProgress(RunProgress::Phase phase, int address, int done, int total,
                        int remainingExchanges);

    void cannotStart(const QString& why);
    void fail(const QByteArray& testoErrore, OperationResult result);
    OperationResult result() const { return m_result; }
    OperationHost& host() { return m_host; }
    Variabili& variables() { return m_v; }

  private:
    void exchange(const QByteArray& frame, qint16 replyLength);

    Variabili& m_v;
    SerialExchange& m_exchange;
    OperationHost& m_host;
    bool m_open = false;
    RunClock m_clock;
    OperationResult m_result = OperationResult::Succeeded;
};

// An address as the frames carry it: three digits.
QByteArray threeDigits(int address);
