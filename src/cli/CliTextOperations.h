#pragma once

#include "device/OperationOutcome.h"

#include <QStringList>

class SerialExchange;
class OperationHost;
struct CliRequest;
struct Variabili;

// What tarvo-cli prints on stdout before the outcome for confronta and for
// invia with --copia or --solo-diversi (also when the run fails later: a copy
// saved is named), and whether the unit was found to differ from the file.
struct CliReport {
    QStringList lines;
    bool differs = false;
    // After a ripristina that did not succeed: the copy that was going back
    // and the command that puts it back again.
    QString retry;
};

// The line that tells why a run did not succeed, followed by the report's
// retry when it has one.
QString withRetry(QString failure, const CliReport& report);

// confronta: one line per differing address (its three digits, the file's
// text and the unit's text, each between « and » so that spaces show); the
// outcome then gives the counts. Nothing is written to the unit.
OperationOutcome compareForCli(const CliRequest& request, Variabili& v, SerialExchange& exchange,
                               OperationHost& host, CliReport& report);

// invia with --copia, --copia-auto and/or --solo-diversi.
OperationOutcome sendWithCopyOrOnlyDiffering(const CliRequest& request, Variabili& v,
                                             SerialExchange& exchange, OperationHost& host,
                                             CliReport& report);

// ripristina: the copy named, else the newest of the identifier, put back
// after a fresh copy; the copy put back and the fresh copy are named. The copy
// of another unit than the identifier's is refused before the first frame
// unless the request allows it.
OperationOutcome restoreForCli(const CliRequest& request, Variabili& v, SerialExchange& exchange,
                               OperationHost& host, CliReport& report);

// copie: one line per copy, newest first, with --id only that identifier's:
// date and time, identifier, port and path, separated by tabs.
QStringList copyListLines(const CliRequest& request);
// copie without a copy to list: that there is none, and where they would be.
QString noCopiesLine(const CliRequest& request);
