#include "app/wiring/wiring.h"

#include "shell/app.h"

namespace zr::app {

void installAll(shell::App& app) {
  shell::installShell(app);
  // Each subsystem adds its install call below, one line each.
}

}  // namespace zr::app
