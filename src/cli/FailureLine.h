#pragma once

#include <QString>

class CommandLineHost;

// The line tarvo-cli prints for a run that did not succeed: the error text
// the window would hold on its button, why and where the run stopped, and the
// texts exchanged there, each named for what it is.
QString failureLine(const CommandLineHost& host);
