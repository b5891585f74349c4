#pragma once

struct Variabili;

// The whole life of the application: prepares the session state, loads the
// hidden serial host, shows the main window until the operator leaves it,
// then unloads the main window and the serial host, in this order.
namespace Startup {

// Runs the sequence on the given session state and returns the exit code.
int run(Variabili& v);
// The same on a session state of its own: what the program runs.
int run();

} // namespace Startup
