#pragma once

#include <cstdio>

struct Variabili;

// The whole life of the application: prepares the session state, loads the
// hidden serial host, shows the main window until the operator leaves it,
// then unloads the main window and the serial host, in this order.
namespace Startup {

// Runs the sequence on the given session state and returns the exit code;
// the line of a run stopped by a signal goes to `errors`.
int run(Variabili& v, std::FILE* errors = stderr);
// The same on a session state of its own: what the program runs.
int run();

} // namespace Startup
