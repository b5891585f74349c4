#pragma once

#include "device/RunFailure.h"
#include "device/RunProgress.h"

#include <optional>

// How a device operation ended, for callers that word it: done, failed with
// the failure, unable to start, or stopped by a signal or the close box.
struct OperationOutcome {
    enum class Ending {
        Done,
        // The unit did not answer, refused a write, read back differently, or
        // the port failed during the run: `failure`.
        Failed,
        // A reason on this side kept the operation from starting or going
        // on: a port that cannot be opened (`port`), a message file that
        // cannot be read or saved.
        CannotStart,
        // Asked to stop; `failure` is the exchange the stop cut short, if any.
        Stopped,
    };

    Ending ending = Ending::Done;
    std::optional<RunFailure> failure;
    // Why the port could not be opened.
    PortFailure port;
    // Where the run stood after its last frame sent; none before the first.
    std::optional<RunProgress> lastExchanged;

    bool done() const { return ending == Ending::Done; }
};
