#include "plan/plan.h"

namespace zr::plan {

void installPlan(shell::App& app) {
  app.main().on(mf::按钮1, ui::Event::Click, [&app] { addManualDraw(app); });
  app.main().on(mf::按钮3, ui::Event::Click, [&app] { copyNumbersAndPlan(app); });
}

}  // namespace zr::plan
