#pragma once

#include "files/LeggiFileDaProgrammare.h"

#include <QList>
#include <QString>

// A message file as programming takes it, read once before the first frame:
// its records in file order and why it cannot be sent, if so. Records beyond
// what the message table holds are counted, not kept, so that a file far too
// long is refused without being held.
struct ProgrammingFile {
    QString path;
    QList<ProgrammingRecord> records;
    // Every record the reader yielded, those not kept included.
    int recordCount = 0;
    // In Italian, one line; empty when the file can be sent.
    QString problem;

    // What the file is read for, which a refusal names.
    enum class Use { Sending, Comparing };

    static ProgrammingFile read(const QString& path, Use use = Use::Sending);
    // The refusal of a file yielding more records than the message table holds.
    static QString overLimit(int records, Use use);
    // The refusal of a file yielding no record at all: sending or comparing it
    // would report on texts never exchanged.
    static QString noMessages(const QString& path);
};
