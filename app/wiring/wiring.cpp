#include "app/wiring/wiring.h"

#include "draws/monitor.h"
#include "draws/retrieval.h"
#include "plan/plan.h"
#include "resources/resources.h"
#include "search/search.h"
#include "shell/app.h"
#include "shell/counters.h"
#include "shell/settings.h"
#include "shell/skin.h"

namespace zr::app {

void installAll(shell::App& app) {
  app.hooks.attachSkin = [] { shell::processSkinEngine().attach(res::skinData()); };
  app.hooks.detachSkin = [] { shell::processSkinEngine().detach(); };
  shell::installShell(app);
  // Each subsystem adds its install call below, one line each.
  draws::installRetrieval(app);
  draws::installMonitor(app);
  search::installSearch(app);
  shell::installCounters(app);
  shell::installSettings(app);
  plan::installPlan(app);
}

}  // namespace zr::app
