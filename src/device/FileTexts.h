#pragma once

#include "files/RecordLayout.h"

struct ProgrammingFile;

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

// The texts a message file leaves in the unit when it is programmed: the
// records the programming reader yields, the last one for each address, since
// a later record overwrites an earlier one at the same address.
struct FileTexts {
    // The record (address and 16 text characters) for each address, empty
    // where the file sends nothing.
    std::array<QByteArray, RecordLayout::addressCount> records;
    // The addresses the file sends, ascending.
    QList<int> addresses;
    static FileTexts of(const ProgrammingFile& file);
    // The 16 text characters of an address's record.
    QByteArray text(int address) const {
        return records[size_t(address)].mid(RecordLayout::addressDigits);
    }
    bool sends(int address) const { return !records[size_t(address)].isEmpty(); }
    // How the unit's text at an address stands against the file, for the
    // trace: empty where the file sends nothing; `skipping` when an equal text
    // is left as it is rather than written.
    QString comparisonNote(int address, const QByteArray& unitText, bool skipping) const;
};
