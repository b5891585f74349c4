#pragma once

#include "device/OperationResult.h"

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
};

// confronta: one line per differing address (its three digits, the file's
// text and the unit's text, each between « and » so that spaces show); the
// outcome then gives the counts. Nothing is written to the unit.
OperationResult compareForCli(Variabili& v, SerialExchange& exchange, OperationHost& host,
                              CliReport& report);

// invia with --copia and/or --solo-diversi, the file in FileSelezionato.
OperationResult sendWithCopyOrOnlyDiffering(const CliRequest& request, Variabili& v,
                                            SerialExchange& exchange, OperationHost& host,
                                            CliReport& report);
