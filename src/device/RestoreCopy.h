#pragma once

#include "device/OperationOutcome.h"
#include "device/WriteDifferingTexts.h"

#include <QDateTime>
#include <QString>

#include <optional>

class SerialExchange;
class OperationHost;
struct Variabili;

struct RestoreSummary {
    // The copy of what the unit held before, among the program's copies;
    // empty until it is saved.
    QString freshCopy;
    DifferingWriteSummary texts;
};

// The copy to put back: the one at `named`, else the newest of the
// identifier among the program's copies; none when there is none.
std::optional<QString> copyToRestore(const QString& named, const QByteArray& identifier);

// The identifier of the unit the copy at path was taken from when it is
// another than `identifier`; empty when it is the same or not known.
QByteArray anotherUnitOf(const QString& copyPath, const QByteArray& identifier);

// Puts a copy of the unit's texts back: first a fresh copy of what the unit
// holds now goes among the program's copies, taken at `when`, then only the
// texts that differ from the chosen copy's are written and read back.
// Nothing is written unless the fresh copy was saved whole.
OperationOutcome restoreCopy(Variabili& v, SerialExchange& exchange, OperationHost& host,
                             const QString& copyPath, const QDateTime& when,
                             RestoreSummary& summary);
