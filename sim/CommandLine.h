#pragma once

#include "UnitOptions.h"

#include <QString>

class QCoreApplication;

// What tarvo-sim was asked to do on its command line.
struct CommandLine {
    UnitOptions options;
    // Where to write the memory on a clean exit; empty: nowhere.
    QString dumpFile;
};

// Parses the arguments; --help, --version and unknown options end the
// process as QCommandLineParser does. False with the reason for a bad value.
bool parseCommandLine(const QCoreApplication& app, CommandLine* result, QString* error);
