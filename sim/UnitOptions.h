#pragma once

#include <QByteArray>
#include <QString>

// How the simulated unit behaves. The defaults are a healthy unit with the
// factory identifier that answers at once.
struct UnitOptions {
    // Every frame must begin with these bytes; others are ignored.
    QByteArray identifier = "&C1";
    // Pace frames and replies as on a line at this baud rate (10 bits a
    // byte); 0 answers as fast as the pseudo-terminal goes.
    int baud = 0;
    // Extra wait before a reply starts, in milliseconds.
    int replyDelayMs = 0;
    // From this complete frame on (counted from 1) the unit ignores
    // everything; 0: never.
    int silentFrom = 0;
    // From this write frame on (counted from 1) every write is refused;
    // 0: never.
    int refuseWriteFrom = 0;
    // Replies keep their length and final CR but carry garbage.
    bool garble = false;
    // Replies are cut to half their length, final CR kept.
    bool shortReplies = false;
    // Every byte received goes back at once, as on a two-wire RS-485 adapter
    // without echo suppression: the program hears its own frame before the
    // reply.
    bool echo = false;
    // Hold reply bytes as a USB serial adapter does: they reach the program
    // only when the adapter's latency timer ticks (every this many
    // milliseconds) or its buffer fills; 0: at once.
    int adapterLatencyMs = 0;
    // Memory contents loaded by start(); empty: all texts blank.
    QString memoryFile;
    // Keep every frame for frames(); a long-running unit may switch this off.
    bool keepFrames = true;
    // Make the port findable under a stable name (see UnitLink); linkName
    // empty: the first free name.
    bool publishLink = false;
    QString linkName;

    bool operator==(const UnitOptions&) const = default;
};

// An explanation of what is wrong with the options, empty when they are fine.
QString unitOptionsProblem(const UnitOptions& options);
