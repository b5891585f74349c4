#pragma once

#include "UnitOptions.h"

#include <QString>

class QCoreApplication;

// What tarvo-sim was asked to do on its command line.
struct CommandLine {
    UnitOptions options;
    // Where to write the memory on a clean exit; empty: nowhere.
    QString dumpFile;
    // Also serve the unit on 127.0.0.1 at this TCP port (0: a free one);
    // -1: not through the network.
    int tcpPort = -1;
};

// Parses the arguments; --help, --version and unknown options end the
// process as QCommandLineParser does. False with the reason for a bad value.
bool parseCommandLine(const QCoreApplication& app, CommandLine* result, QString* error);
