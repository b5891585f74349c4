#pragma once

#include <QByteArray>
#include <QString>

// What became of a file that was to be written.
struct WriteOutcome {
    // Empty on success, otherwise the reason in Italian, naming the file.
    QString error;
    // The file was rewritten where it stands, because its folder does not let a
    // new file be created beside it; after a failure it may be incomplete.
    bool writtenInPlace = false;

    bool ok() const { return error.isEmpty(); }
    // The error followed by what became of the file, for the operator;
    // existedBefore tells whether a file of that name was there before.
    QString report(bool existedBefore) const;
};

// Writes content to path, replacing a file of that name. It goes to a
// temporary file beside it that takes the file's place only once it is
// complete, so a failure neither destroys the old file nor leaves a partial
// one. Where the folder lets no new file be created but the file itself may be
// written, the file is rewritten in place instead, every write checked. A
// name the system keeps for a device is refused before anything is made.
WriteOutcome writeWholeFile(const QString& path, const QByteArray& content);

// "Impossibile scrivere il file <path>: <reason>".
QString cannotWrite(const QString& path, const QString& reason);
