#include "draws/monitor.h"

#include <algorithm>
#include <mutex>

#include "draws/fill_lock.h"
#include "draws/notify.h"
#include "draws/retrieval.h"
#include "plan/plan.h"
#include "resources/resources.h"
#include "search/search.h"
#include "shell/startup.h"
#include "text/bytes.h"
#include "text/dates.h"
#include "text/gbk.h"

namespace zr::draws {

namespace {

// Which of the monitor's workers run. A tick that finds either still running
// is skipped, so a slow portal never piles up checks.
struct MonitorState {
  std::mutex mutex;
  bool checking = false;
  bool refreshing = false;
};

MonitorState& monitorState(shell::App& app) { return app.ext<MonitorState>(); }

void setBusy(shell::App& app, bool MonitorState::*which, bool busy) {
  auto& ms = monitorState(app);
  std::lock_guard lock(ms.mutex);
  ms.*which = busy;
}

// Clears a busy flag when the routine that set it returns.
class BusyUntilReturn {
 public:
  BusyUntilReturn(shell::App& app, bool MonitorState::*which) : app_(app), which_(which) {}
  ~BusyUntilReturn() { setBusy(app_, which_, false); }
  BusyUntilReturn(const BusyUntilReturn&) = delete;
  BusyUntilReturn& operator=(const BusyUntilReturn&) = delete;

 private:
  shell::App& app_;
  bool MonitorState::*which_;
};

void onTick(shell::App& app) {
  {
    auto& ms = monitorState(app);
    std::lock_guard lock(ms.mutex);
    if (ms.checking || ms.refreshing) return;
    ms.checking = true;
  }
  if (!shell::startWorker(app, app.state.monitorWorkerHandle, [&app] { checkForNewDraw(app); })) {
    setBusy(app, &MonitorState::checking, false);
  }
}

void onAutomaticMode(shell::App& app) {
  shell::setStatus(app, shell::kNoticePart, GBK("温馨提示：自动开奖已经开启,时间请自行调制!"));
  app.main().setTimerPeriod(mf::时钟_自动开奖, shell::pollPeriodMs(app.main().text(mf::编辑框_自动开奖时间)));
}

void onManualMode(shell::App& app) {
  shell::setStatus(app, shell::kNoticePart, GBK("温馨提示：手动开奖已开启,请勿忘开奖时间"));
  app.main().setTimerPeriod(mf::时钟_自动开奖, 0);
}

void onManualUpdate(shell::App& app) {
  shell::startWorker(app, app.state.retrievalWorkerHandle, [&app] { refreshDrawList(app); });
}

void startRefresh(shell::App& app) {
  setBusy(app, &MonitorState::refreshing, true);
  if (!shell::startWorker(app, app.state.retrievalWorkerHandle, [&app] { refreshOnNewDraw(app); })) {
    setBusy(app, &MonitorState::refreshing, false);
  }
}

// The draw list's last row as a key; the empty text for an empty list.
std::string listKey(shell::App& app) {
  auto& form = app.main();
  // Read only between fills, so a list half refilled by another worker is
  // never taken for a new draw.
  auto fill = lockDrawListFill(app);
  const int last = form.rowCount(mf::超级列表框1) - 1;
  if (last < 0) return {};
  return form.cell(mf::超级列表框1, last, 0) + form.cell(mf::超级列表框1, last, 1);
}

// Steps shared with the plain list refresh: refills the list and the labels.
// False when no draw came back.
bool refillDrawList(shell::App& app) {
  auto& form = app.main();
  auto fill = lockDrawListFill(app);
  shell::setStatus(app, shell::kNoticePart, GBK("温馨提示：[正在获取开奖...]"));
  form.setEnabled(mf::按钮_手动更新, false);
  form.deleteAllRows(mf::超级列表框1);

  const RetrievedDraws draws = retrieveDraws(app, text::normaliseDate(form.text(mf::编辑框_日期_左)),
                                             text::normaliseDate(form.text(mf::编辑框_日期_右)));
  return showDraws(app, draws) > 0;
}

}  // namespace

std::string drawKey(std::string_view period, std::string_view number) {
  return std::string(period) + text::lastBytes(number, 3);
}

void installMonitor(shell::App& app) {
  auto& form = app.main();
  form.on(mf::按钮_手动更新, ui::Event::Click, [&app] { onManualUpdate(app); });
  form.on(mf::单选框_自动开奖, ui::Event::Click, [&app] { onAutomaticMode(app); });
  form.on(mf::单选框_手动开奖, ui::Event::Click, [&app] { onManualMode(app); });
  form.on(mf::时钟_自动开奖, ui::Event::TimerTick, [&app] { onTick(app); });
}

void checkForNewDraw(shell::App& app) {
  BusyUntilReturn busy(app, &MonitorState::checking);
  auto& form = app.main();
  const text::Date today = app.svc.clock.today();
  form.setText(mf::编辑框_日期_左, text::normaliseDate(text::todayText(text::addDays(today, -1))));
  form.setText(mf::编辑框_日期_右, text::normaliseDate(shell::todayText(app)));
  shell::setStatus(app, shell::kNoticePart, GBK("温馨提醒：[正在判断是否开奖...]"));

  const RetrievedDraws draws = retrieveDraws(app, text::normaliseDate(form.text(mf::编辑框_日期_左)),
                                             text::normaliseDate(form.text(mf::编辑框_日期_右)));
  if (!draws.periods.empty()) {
    const std::size_t last = draws.periods.size() - 1;
    const std::string newest =
        drawKey(draws.periods[last], last < draws.numbers.size() ? draws.numbers[last] : std::string());
    if (newest == listKey(app)) {
      shell::setStatus(app, shell::kNoticePart, GBK("温馨提示：[尚未开奖...]"));
    } else {
      startRefresh(app);
    }
  }
  shell::finishWorker(app, app.state.monitorWorkerHandle);
}

void refreshOnNewDraw(shell::App& app) {
  BusyUntilReturn busy(app, &MonitorState::refreshing);
  auto& form = app.main();
  if (refillDrawList(app)) {
    if (form.checked(mf::选择框_声音)) app.svc.sound.playWav(res::chimeWav());
    openNotification(app);
    if (form.checked(mf::选择框1)) {
      plan::composePlanLine(app);
      search::startSearch(app);
    }
    shell::setStatus(app, shell::kNoticePart, GBK("温馨提示：<开奖获取完毕!>"));
  } else {
    // Not left disabled with a message that claims a retrieval in progress.
    shell::setStatus(app, shell::kNoticePart, GBK("温馨提示：未获取到开奖,请检查网络或日期!"));
  }
  form.setEnabled(mf::按钮_手动更新, true);
  shell::finishWorker(app, app.state.retrievalWorkerHandle);
}

}  // namespace zr::draws
