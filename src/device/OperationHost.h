#pragma once

#include "device/RunFailure.h"
#include "device/RunProgress.h"

#include <QString>

// What a device operation needs from whoever started it: the main window, the
// command-line tool, or a test's stand-in. The operation decides what to say
// and when; the host decides how it reaches the operator.
class OperationHost {
  public:
    virtual ~OperationHost() = default;

    // What is being sent (the main window's upper status box).
    virtual void showSending(const QString& text) = 0;
    // The latest outcome: a reply, a text read, a message (the lower box).
    virtual void showOutcome(const QString& text) = 0;

    // Why and where the run stopped, before its error text is held.
    virtual void showFailure(const RunFailure& failure) = 0;
    // A finding beside the operation's own texts, which stay as they are (the
    // window's note line, tarvo-cli's failure line).
    virtual void showNote(const QString& note) = 0;
    // Holds the error text until the operator has acknowledged it; the
    // operation may still show an outcome before it waits.
    virtual void showError(const QString& testoErrore) = 0;
    // Returns once the error shown has been acknowledged (or the program is
    // closing), with the error no longer shown.
    virtual void awaitAcknowledgement() = 0;

    // Where a long run (programming, reading all texts) stands; called when it
    // starts and after each exchange. The run is over when the operation returns.
    virtual void showProgress(const RunProgress& progress) = 0;

    // Commands on and off while an operation runs.
    virtual void DisabilitaComandi() = 0;
    virtual void AbilitaComandi() = 0;

    // Offers the body in TestoMessaggi, with the comment CommentoDaSalvare,
    // for saving as a message file; returns when the offer is over. The port
    // is still open meanwhile.
    virtual void offerForSaving() = 0;
};

// Keeps the host's commands off for its lifetime: every operation that talks
// to the unit but the presence test runs inside one, so that none is started
// twice.
class CommandsDisabled {
  public:
    explicit CommandsDisabled(OperationHost& host) : m_host(host) { m_host.DisabilitaComandi(); }
    ~CommandsDisabled() { m_host.AbilitaComandi(); }
    CommandsDisabled(const CommandsDisabled&) = delete;
    CommandsDisabled& operator=(const CommandsDisabled&) = delete;

  private:
    OperationHost& m_host;
};
