#pragma once
// Wires every subsystem into the App: handlers and start-up hooks.
#include "shell/app.h"

namespace zr::app {

// Installs every handler on the main form; then app.main().open() starts the program.
void installAll(shell::App& app);

}  // namespace zr::app
