#pragma once

#include "device/OperationOutcome.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class SerialExchange;
class OperationHost;
struct Variabili;

struct DifferingWriteOptions {
    // Where the unit's 512 texts are saved before the first write; empty for
    // no copy.
    QString copyPath;
    QByteArray copyComment;
    // When valid, the copy goes instead among the program's copies, under a
    // new name of this date and time and the unit's identifier.
    QDateTime programCopyTaken = {};
    // What the trace calls the run.
    QString operation = QStringLiteral("Invia solo i testi diversi");

    // The automatic copy, taken `when`: among the program's copies, with the
    // comment naming the unit, the port, the date and the time.
    static DifferingWriteOptions programCopy(const Variabili& v, const QDateTime& when);
};

struct DifferingWriteSummary {
    int written = 0;
    int equal = 0;
    // Where the copy was saved; empty until it is saved whole.
    QString savedCopy;
};

// Programs the message file at `path` writing only the records whose text
// the unit does not already hold, then reads back and verifies what it wrote.
// The unit's texts are read first: all 512 when a copy is asked for, which
// one read then serves, otherwise only the file's addresses. A repeated
// address is written once, with its last text. Nothing is written when the
// copy cannot be read whole or saved.
OperationOutcome writeDifferingTexts(Variabili& v, SerialExchange& exchange, OperationHost& host,
                                     const QString& path, const DifferingWriteOptions& options,
                                     DifferingWriteSummary& summary);
