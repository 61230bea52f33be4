#include "shell/startup.h"

#include <algorithm>

#include "shell/counters.h"
#include "text/bytes.h"
#include "text/dates.h"
#include "text/gbk.h"

namespace zr::shell {

namespace {

constexpr long long kDayMs = 86400LL * 1000;

// The plan area's text: the plan file's bytes up to the first zero byte.
std::string readPlanFile(App& app) {
  auto bytes = app.svc.files.readFile(GBK("D:\\计划区.txt"));
  if (!bytes) {
    if (app.svc.files.exists(GBK("D:\\计划区.txt"))) planFileUnread(app);
    return {};
  }
  return bytes->substr(0, bytes->find('\0'));
}

}  // namespace

int pollPeriodMs(std::string_view intervalText) {
  long long ms = static_cast<long long>(text::readNumber(intervalText)) * 1000;
  if (ms < 1000) return 0;
  return static_cast<int>(std::min(ms, kDayMs));
}

void createMainWindow(App& app) {
  auto& form = app.main();
  if (app.hooks.attachSkin) app.hooks.attachSkin();

  const text::Date today = app.svc.clock.today();
  form.setText(mf::编辑框_日期_左, text::normaliseDate(text::todayText(text::addDays(today, -1))));
  form.setText(mf::编辑框_日期_右, text::normaliseDate(text::todayText(today)));

  if (app.hooks.retrievalRoutine) startWorker(app, app.state.retrievalWorkerHandle, app.hooks.retrievalRoutine);

  if (form.checked(mf::单选框_自动开奖)) {
    form.setTimerPeriod(mf::时钟_自动开奖, pollPeriodMs(form.text(mf::编辑框_自动开奖时间)));
  }

  form.setText(mf::编辑框_计划区, readPlanFile(app));

  std::lock_guard lock(app.state.mutex);
  app.state.lastThreeAttemptCount = 0;
}

void shutDown(App& app) {
  if (app.hooks.detachSkin) app.hooks.detachSkin();
  if (app.hooks.beforeExit) app.hooks.beforeExit();
  app.svc.process.exitNow(0);
}

void installShell(App& app) {
  app.main().on(ui::kForm, ui::Event::Created, [&app] { createMainWindow(app); });
  app.main().on(ui::kForm, ui::Event::Destroying, [&app] { shutDown(app); });
}

}  // namespace zr::shell
