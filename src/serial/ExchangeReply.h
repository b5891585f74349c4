#pragma once

#include <QByteArray>

// What one exchange came to. Only an answered exchange has a reply; the
// others leave the timeout text in Risposta, where the operator reads it.
struct ExchangeReply {
    enum class Status {
        // The reply arrived: `bytes` is the trimmed reply.
        Answered,
        // No reply within the reply time: `bytes` is what came short of it.
        TimedOut,
        // The port stopped working; lastFailure() says why.
        PortLost,
        // The frame was not sent: the line was taken, the port closed, or
        // the program is stopping.
        NotSent,
        // On a line that echoes, what came back before the reply is not the
        // frame sent: `bytes` is everything that came.
        EchoDiffers,
    };

    Status status = Status::NotSent;
    QByteArray bytes;
    // Answered or timed out on a line taken not to echo, with the frame sent
    // (or its beginning) for a reply or for what came: the line gives frames
    // back.
    bool echoed = false;

    bool answered() const { return status == Status::Answered; }
};
