#pragma once

#include "MessageFileReader.h"
#include "ProgrammingLine.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A message record as programming sends it, with the address its first three
// columns give.
struct ProgrammingRecord {
    int address = 0;
    // Columns 1-19 of the line: address and text.
    QByteArray record;

    QByteArray text() const { return record.mid(RecordLayout::addressDigits); }
    bool operator==(const ProgrammingRecord&) const = default;
};

// Yields the message records of a message file, one at a time and in file
// order, each body line judged by judgeProgrammingLine: a record is columns
// 1-19 of a body line that starts with three digits 000-511, right-padded with
// spaces to 19 bytes. Empty lines, lines without such an address and the
// file's last line are passed over; a line starting with "END" or "end" stops
// the reading. The file is opened at the first next() and closed as soon as
// reading stops, at stop() and at destruction.
class LeggiFileDaProgrammare {
  public:
    explicit LeggiFileDaProgrammare(const QString& path);

    // The next record; nullopt once reading has stopped (terminator, end of
    // file, stop(), or an error: see error()).
    std::optional<ProgrammingRecord> next();
    // Stops the reading and closes the file; next() then yields nothing.
    void stop();
    bool isOpen() const { return m_reader.isOpen(); }
    // Empty unless the file could not be opened or read, or is empty.
    QString error() const { return m_reader.error(); }

  private:
    MessageFileReader m_reader;
    bool m_started = false;
};
