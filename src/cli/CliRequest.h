#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

// What tarvo-cli was asked to do, read from its arguments. The port, the
// identifier and the comment are Windows-1252 bytes, as the windows keep them.
struct CliRequest {
    enum class Action {
        PresenceTest,
        Program,
        ReadAll,
        Compare,
        ListCopies,
        Restore,
        Diagnosis,
        Help,
        Version
    };

    Action action = Action::Help;
    QByteArray port;
    QByteArray identifier = "&C1";
    bool identifierGiven = false;
    QByteArray comment;
    bool commentGiven = false;
    // The message file; for ripristina the copy to put back, empty for the
    // newest of the identifier.
    QString file;
    // invia: the copy of the unit's texts taken before the first write, and
    // whether only the texts that differ are written.
    QString copyFile;
    bool onlyDiffering = false;
    // The line gives every frame back before the reply.
    bool lineEchoes = false;
    // diagnosi: identifiers to try beside &C0 to &C9.
    QByteArrayList moreIdentifiers;
    // invia: the copy goes among the program's copies, as the window keeps it.
    bool autoCopy = false;
    // ripristina: a copy of another unit than the identifier's may go back.
    bool anotherUnit = false;
    // Why the arguments cannot be used, in Italian; empty when they can.
    QString error;

    static CliRequest parse(const QStringList& arguments);
    static QString helpText();
};
