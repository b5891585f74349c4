#pragma once

#include "device/RunProgress.h"

#include <QString>

#include <optional>

// The line the window program writes on standard error when a signal stopped
// a run: the signal, where the run stood (phase and last address exchanged,
// when the run reports them) and what that leaves on the unit.
QString signalStopLine(int signalNumber, const std::optional<RunProgress>& lastProgress);
