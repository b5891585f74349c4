#pragma once

#include "device/FailureEnding.h"
#include "device/OperationHost.h"
#include "device/OperationOutcome.h"
#include "device/OperationScope.h"
#include "device/RunFailure.h"
#include "device/RunProgress.h"
#include "serial/ExchangeReply.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

struct ProgrammingFile;
class SerialExchange;
struct Variabili;

// The engine under every operation that reads, writes, reads back or
// compares texts: it runs the operation's scope (commands off, trace
// heading, port opened and given back) and its phases, each a list of
// exchanges that reports its progress, stops at the first failure and ends
// it with the failure as a value and the texts of its wording, held until
// acknowledged. Every frame of a run uses the identifier the run started
// with.
class UnitTextEngine {
  public:
    UnitTextEngine(Variabili& v, SerialExchange& exchange, OperationHost& host,
                   FailureEnding::Wording wording = FailureEnding::Wording::Programming);
    UnitTextEngine(const UnitTextEngine&) = delete;
    UnitTextEngine& operator=(const UnitTextEngine&) = delete;

    // Whether the message file read can be used; false, with the reason
    // shown, when it is unreadable, without any message, or over the message
    // table. Nothing has been sent then.
    bool accepts(const ProgrammingFile& file);

    // When the host's commands go off: before the port is opened, or only
    // once it is open. They come back on after the port is given back.
    enum class CommandsOff { BeforeOpening, OnceOpen };
    // Starts the operation named in the trace, then opens the port.
    bool open(const QString& heading, CommandsOff commandsOff = CommandsOff::BeforeOpening);

    // What a reading phase does with each text read: returns the trace's
    // note for the exchange (empty for none).
    using Took = std::function<QString(int index, int address, const QByteArray& text)>;
    struct Reading {
        RunProgress::Phase phase = RunProgress::Phase::Reading;
        QList<int> addresses;
        // A text that a line of a message file cannot hold ends the phase.
        bool storableOnly = false;
        // The phase's progress is shown before its first exchange too.
        bool announced = false;
    };
    // Reads the addresses in order.
    bool readAddresses(const Reading& reading, const Took& took);
    // Reads addresses 000 to 511 in order, each text one a message file can
    // hold: what reading all texts and a copy of the unit both read.
    bool readEveryText(RunProgress::Phase phase, bool announced, const Took& took);

    struct Writing {
        QList<QByteArray> records;
        // Before each record is sent; `index` in records.
        std::function<void(int index)> sending;
        // After each write the unit confirmed: returns the trace's note.
        std::function<QString(int index)> written;
    };
    // Writes the records in order; each written is expected to be read back.
    bool writeRecords(const Writing& writing);

    struct Expected {
        int address = 0;
        QByteArray text;
    };
    // Reads each address back and compares the 16 characters exactly; `note`
    // goes on the trace of each text found as written.
    bool verify(const QList<Expected>& texts, const QString& note = {});

    // How many exchanges the run expects after the current phase, for the
    // time left.
    void expectLater(int exchanges) { m_laterExchanges = exchanges; }

    // Why the operation cannot start or go on, on this side.
    void cannotStart(const QString& why);
    OperationOutcome outcome() const;

  private:
    void beginPhase(RunProgress::Phase phase, int total);
    ExchangeReply exchange(const QByteArray& frame, qint16 replyLength, const QByteArray& address);
    std::optional<QByteArray> readText(int address, bool storableOnly);
    bool write(const QByteArray& record);
    bool readBack(int address, const QByteArray& expected);
    void note(const QString& text);
    // The error ending at the latest exchange.
    void fail(RunFailure failure);

    Variabili& m_v;
    SerialExchange& m_exchange;
    OperationHost& m_host;
    const FailureEnding::Wording m_wording;
    QByteArray m_identifier;
    // Destroyed in reverse: the port is given back, then the commands on.
    std::optional<CommandsDisabled> m_commandsOff;
    std::optional<OperationScope> m_scope;
    RunClock m_clock;
    RunProgress::Phase m_phase = RunProgress::Phase::Reading;
    int m_total = 0;
    int m_done = 0;
    int m_laterExchanges = 0;
    OperationOutcome m_outcome;
};
