#include "app/wiring/wiring.h"

#include "resources/resources.h"
#include "search/search.h"
#include "shell/app.h"
#include "shell/skin.h"

namespace zr::app {

void installAll(shell::App& app) {
  app.hooks.attachSkin = [] { shell::processSkinEngine().attach(res::skinData()); };
  app.hooks.detachSkin = [] { shell::processSkinEngine().detach(); };
  shell::installShell(app);
  // Each subsystem adds its install call below, one line each.
  search::installSearch(app);
}

}  // namespace zr::app
