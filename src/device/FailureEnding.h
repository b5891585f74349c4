#pragma once

#include "device/RunFailure.h"

class OperationHost;
struct Variabili;

// How a run ends on a failure: the failure shown as a value, then the error
// text held until acknowledged, with the status boxes worded for its kind.
// Each kind has one wording per surface.
namespace FailureEnding {

enum class Wording {
    // Programming's texts, shared by every operation that writes, reads back
    // or compares: " Errore risposta ", "Errore Dati non scritti giusti.",
    // " Errore porta seriale ".
    Programming,
    // Reading all texts: what the unit did and what to check, and that
    // nothing was saved.
    ReadingAll,
};

void end(Variabili& v, OperationHost& host, const RunFailure& failure, Wording wording);

} // namespace FailureEnding
