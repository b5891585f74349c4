#pragma once

#include "device/RunProgress.h"
#include "serial/ExchangeReply.h"
#include "serial/PortFailure.h"

#include <QByteArray>
#include <QString>

// Why a device operation stopped, where and with which texts. Each surface
// words it in its own way: the window in its note line, tarvo-cli in its
// failure line.
struct RunFailure {
    enum class Kind {
        // No reply came within the reply time.
        NoReply,
        // The unit answered a write without confirming it.
        RefusedWrite,
        // A reply that is not the reply of the frame sent.
        InvalidReply,
        // A text read back is not the text written.
        TextDiffers,
        // A text read holds a carriage return or a line feed, which a line of
        // a message file cannot hold.
        TextNotStorable,
        // The reply was the frame sent: the line gives frames back, and it
        // is not taken to.
        UnexpectedEcho,
        // The port stopped working during the run.
        PortLost,
        // On a line set to echo, what came back is not the frame sent:
        // `received` holds it.
        EchoDiffers,
    };

    Kind kind = Kind::NoReply;
    // The phase and the address of the frame the run stopped on.
    RunProgress::Phase phase = RunProgress::Phase::Writing;
    QByteArray address;
    // The text the unit should hold (TextDiffers) and what came back: the
    // reply, or the text read.
    QByteArray expected;
    QByteArray received;
    // The port's own failure (PortLost).
    PortFailure port;

    // The failure of an exchange as its reply tells it: a lost port, a line
    // that gives the frame back wrongly or unexpectedly, a missing reply are
    // named as such (the bytes that came then received); `answered` is the
    // failure when the unit did answer. The one mapping from reply to kind.
    static RunFailure of(const ExchangeReply& reply, RunFailure answered);

    // What went wrong and where, and what to check, for the operator; the
    // texts exchanged are the surface's to show.
    QString problem() const;
    // The problem as it came about `where`, for an operation without phases
    // or addresses ("durante il test").
    QString problemAt(const QString& where) const;
    // The problem and what it left behind, as one sentence.
    QString describe() const;
    // What a run stopped in this phase leaves: what the unit holds, whether
    // anything was saved.
    static QString leftBehind(RunProgress::Phase phase);
    // The lower box of a run stopped before it wrote anything: where the
    // reading stopped, and that the unit is untouched.
    QString readingStopped() const;
};
