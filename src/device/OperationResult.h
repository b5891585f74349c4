#pragma once

// How a device operation ended, for callers that report it with a status.
enum class OperationResult {
    Succeeded,
    // The unit did not answer, refused a write, read back differently, or the
    // port failed during the run.
    UnitFailed,
    // The operation could not start or go on for a reason on this side: a
    // port that cannot be opened, a message file that cannot be read or saved.
    CannotStart,
};
