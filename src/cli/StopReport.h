#pragma once

#include "cli/CliRequest.h"
#include "device/RunProgress.h"

#include <QString>

#include <optional>

// The line tarvo-cli prints when a signal stopped its run: the signal, where
// the run stood (phase and last address exchanged) and what that leaves
// behind on the unit or in the file.
QString stopReport(int signalNumber, CliRequest::Action action,
                   const std::optional<RunProgress>& lastProgress, bool targetExisted);
