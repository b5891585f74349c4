#pragma once

#include "serial/PortFailure.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

// What a diagnosis of the line found, as figures and bytes; describe() words
// it for the operator, the same on every surface.
struct LineFinding {
    enum class Kind {
        // The unit answers the typed identifier within the reply time.
        Answers,
        // It answers, but after the reply time: `replyMs`.
        AnswersLate,
        // It answers, but the exchange expects an echo that the line does
        // not give.
        EchoNotThere,
        // Every frame comes back as it was sent; `replyFollowed` tells
        // whether the unit's reply came after it, in `replyMs`.
        Echoes,
        // No reply to the typed identifier; `answeringIdentifier` answers.
        OtherIdentifier,
        // Bytes came that form no reply: `bytes`.
        Garbled,
        // The line gives every frame back, as the exchange expects, and
        // nothing follows the echo, whatever the identifier: on `adapter`.
        OnlyEcho,
        // Nothing came at all, on the port `adapter`.
        Silent,
        // Nothing came while other programs hold the port: `portProblem`.
        HeldElsewhere,
        // The port cannot be opened, or stopped working: `portProblem`.
        PortUnavailable,
        PortLost,
        // A frame was not sent: the program is closing or was asked to stop.
        Interrupted,
    };

    Kind kind = Kind::Silent;
    QByteArray typedIdentifier;
    QByteArray answeringIdentifier;
    qint64 replyMs = 0;
    bool replyFollowed = false;
    // The line gives every frame back, and the exchange was set to expect
    // that.
    bool lineEchoes = false;
    bool echoExpected = false;
    // The line goes through a serial device server: no cable or adapter of
    // this computer to check, the server's settings instead.
    bool networkLine = false;
    QByteArray bytes;
    QString adapter;
    PortFailure portProblem;
    // Identifiers left untried when the time of the diagnosis ran out.
    QByteArrayList untried;

    // One paragraph in Italian: what was found, what it likely means, what
    // to do.
    QString describe() const;
};
