#pragma once

#include <QString>

// What programming learns about a message file before its first frame: the
// records it yields, counted by a pass of the streaming reader (the file is
// never held whole), and why it cannot be sent, if so.
struct ProgrammingPreflight {
    int records = 0;
    // In Italian, one line; empty when the file can be sent.
    QString problem;

    static ProgrammingPreflight check(const QString& path);
    // The refusal of a file yielding more records than the message table holds.
    static QString overLimit(int records);
    // The refusal of a file yielding no record at all: sending or comparing it
    // would report on texts never exchanged.
    static QString noMessages(const QString& path);
};
