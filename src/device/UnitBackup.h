#pragma once

#include "device/FileTexts.h"
#include "device/OperationOutcome.h"
#include "device/WriteDifferingTexts.h"
#include "files/FileReservation.h"
#include "files/RecordLayout.h"

#include <QByteArray>
#include <QString>

#include <array>

class SerialExchange;
class OperationHost;
class UnitTextEngine;
struct Variabili;

// A copy of every text of the unit, taken before anything is written to it so
// that what the unit held can be programmed again. The copy is a message file
// as reading all texts writes it, complete or not there at all.
namespace UnitBackup {

using Texts = std::array<QByteArray, RecordLayout::addressCount>;

// Reads addresses 000 to 511 in order; false after the error ending, also
// when a text holds a line break, which the copy could not keep. Where a
// file is given, the trace tells for each of its addresses whether the unit's
// text equals the file's.
bool readAll(UnitTextEngine& engine, Texts& texts, const FileTexts* file = nullptr);
// Why the copy cannot be written to path with this comment, checked before
// the first frame: the reasons reading all texts checks its target for, and
// a path naming the very file being programmed, whatever its spelling (the
// copy would replace the texts to send); empty when it can.
QString targetProblem(const QString& path, const QByteArray& comment,
                      const QString& programmedFile);
// The copy's file, held from before the first frame to the end of the run,
// so that no other run writes it meanwhile.
struct Target {
    FileReservation file;
    // Why the copy cannot be written, in Italian; empty when the file is held.
    QString problem;
};
// Takes the file that copy names (its path, or a new name among the
// program's copies for the unit with this identifier) after checking it as
// targetProblem does. A path that another run is writing is refused.
Target claimTarget(const DifferingWriteOptions& copy, const QByteArray& identifier,
                   const QString& programmedFile);
// Writes the copy whole with the message files' writer over the file held,
// then holds the copy written until the run ends; false, with the reason
// shown, when it cannot be written.
bool save(UnitTextEngine& engine, FileReservation& target, const QByteArray& comment,
          const Texts& texts);

} // namespace UnitBackup

// Opens the port, reads all 512 texts and writes them to the file held, then
// closes the port. Nothing is written to the unit.
OperationOutcome takeUnitBackup(Variabili& v, SerialExchange& exchange, OperationHost& host,
                                FileReservation& target, const QByteArray& comment);
