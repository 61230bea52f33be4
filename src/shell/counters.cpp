#include "shell/counters.h"

#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "text/bytes.h"
#include "text/gbk.h"

namespace zr::shell {
namespace {

// The plan file's writer. The first change after a quiet spell is written at
// once; changes during the following interval are written together when it
// ends, so typing costs at most one write per interval.
struct PlanFileWriter {
  std::mutex mutex;
  bool coolingDown = false;             // a write happened within the interval
  bool dirty = false;                   // a change came during the interval
  std::optional<std::string> fileText;  // what the file holds, when known
  bool failing = false;                 // the last write failed and was reported
  bool held = false;                    // the file holds a plan that could not be read into the area
};

const std::string& planFilePath() { return GBK("D:\\计划区.txt"); }

// Writes the plan area's current text unless the file holds it already.
// Called with the writer's mutex held; returns whether a failure notice is due.
bool writeLocked(App& app, PlanFileWriter& w) {
  std::string text = app.main().text(mf::编辑框_计划区);
  if (w.fileText && *w.fileText == text) return false;
  if (w.held) {
    // The plan the file held when the area was loaded is never written
    // over: once the file can be read, it goes in front of what the area
    // got since. Until then nothing is written.
    if (text.empty()) return false;
    if (auto old = app.svc.files.readFile(planFilePath())) {
      w.held = false;
      text.insert(0, old->substr(0, old->find('\0')));
      app.main().setText(mf::编辑框_计划区, text);
    } else if (app.svc.files.exists(planFilePath())) {
      if (w.failing) return false;
      w.failing = true;
      return true;
    } else {
      w.held = false;
    }
  }
  if (app.svc.files.writeFileAtomic(planFilePath(), text)) {
    w.fileText = std::move(text);
    w.failing = false;
    return false;
  }
  w.fileText.reset();
  if (w.failing) return false;  // one notice per streak of failures
  w.failing = true;
  return true;
}

void reportFailure(App& app) { setStatus(app, kNoticePart, GBK("温馨提示：计划区保存失败,请检查D盘!")); }

void onPlanTick(App& app) {
  PlanFileWriter& w = app.ext<PlanFileWriter>();
  bool notify = false;
  {
    std::lock_guard lock(w.mutex);
    if (w.dirty) {
      w.dirty = false;
      notify = writeLocked(app, w);
    } else {
      w.coolingDown = false;
      app.svc.ui.setTimer(&w, 0, {});
    }
  }
  if (notify) reportFailure(app);
}

void onPlanChanged(App& app) {
  PlanFileWriter& w = app.ext<PlanFileWriter>();
  bool notify = false;
  {
    std::lock_guard lock(w.mutex);
    if (w.coolingDown) {
      w.dirty = true;
      return;
    }
    notify = writeLocked(app, w);
    w.coolingDown = true;
    app.svc.ui.setTimer(&w, kPlanWriteIntervalMs, [&app] { onPlanTick(app); });
  }
  if (notify) reportFailure(app);
}

void showCount(App& app, int box, int label, const std::string& unit) {
  app.main().setText(
      label, GBK("注数：") + text::formatInt(static_cast<long long>(countResultNumbers(app.main().text(box)))) + unit);
}

// Refuses a draw window larger than the draw list. Emptying the box fires
// this handler again, which then stops at once.
void guardDrawCount(App& app) {
  ui::FormModel& form = app.main();
  const int rows = form.rowCount(mf::超级列表框1);
  if (text::readNumber(form.text(mf::编辑框_取开奖期)) <= rows) return;
  form.setText(mf::编辑框_取开奖期, "");
  setStatus(app, kNoticePart,
            GBK("温馨提示：开奖期数不够,请获取更多开奖![目前共：") + text::formatInt(rows) + GBK("期奖号]"));
}

}  // namespace

std::size_t countResultNumbers(std::string_view text) { return text::countPieces(text, " "); }

void planFileUnread(App& app) {
  PlanFileWriter& w = app.ext<PlanFileWriter>();
  std::lock_guard lock(w.mutex);
  w.held = true;
}

void flushPlanFile(App& app) {
  PlanFileWriter& w = app.ext<PlanFileWriter>();
  bool notify = false;
  {
    std::lock_guard lock(w.mutex);
    w.dirty = false;
    notify = writeLocked(app, w);
  }
  if (notify) reportFailure(app);
}

void installCounters(App& app) {
  ui::FormModel& form = app.main();
  struct Counter {
    int box, label;
    bool withUnit;
  };
  static constexpr Counter kCounters[] = {
      {mf::编辑框_结果, mf::标签_注数, true},
      {mf::编辑框2, mf::标签52, false},
      {mf::编辑框3, mf::标签53, false},
  };
  for (const Counter& c : kCounters) {
    form.on(c.box, ui::Event::TextChanged,
            [&app, c] { showCount(app, c.box, c.label, c.withUnit ? GBK("注") : std::string()); });
  }

  struct CopyButton {
    int button, box;
  };
  static constexpr CopyButton kCopyButtons[] = {
      {mf::按钮_复制号码, mf::编辑框_结果},
      {mf::按钮2, mf::编辑框2},
      {mf::按钮7, mf::编辑框3},
      {mf::按钮4, mf::编辑框_计划区},
  };
  // A clipboard held by another program leaves the copy undone, silently.
  for (const CopyButton& b : kCopyButtons) {
    form.on(b.button, ui::Event::Click, [&app, b] { app.svc.clipboard.setText(app.main().text(b.box)); });
  }

  form.on(mf::编辑框_取开奖期, ui::Event::TextChanged, [&app] { guardDrawCount(app); });
  form.on(mf::编辑框_计划区, ui::Event::TextChanged, [&app] { onPlanChanged(app); });

  app.hooks.beforeExit = [&app, earlier = std::move(app.hooks.beforeExit)] {
    if (earlier) earlier();
    flushPlanFile(app);
  };
}

}  // namespace zr::shell
