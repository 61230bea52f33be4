#include "search/search.h"

#include <array>
#include <future>
#include <memory>
#include <mutex>
#include <vector>

#include "search/run_search.h"
#include "text/gbk.h"

namespace zr::search {

namespace {

enum Kind { kLastThree, kLastTwo, kJoint, kKinds };

// Searches of these kinds work on common lists: a joint search on both modes'.
bool sharesState(int a, int b) { return a == b || a == kJoint || b == kJoint; }

struct Job {
  int kind;
  std::atomic<bool> stop{false};
  std::promise<void> finished;
  std::shared_future<void> done = finished.get_future().share();
};

struct Runtime {
  SeedOffset seedOffset{0};
  std::mutex mutex;
  std::array<std::shared_ptr<Job>, kKinds> running;  // the current search of each kind
};

int selectedKind(const ui::FormModel& form) {
  if (form.checked(mf::单选框_后三)) return kLastThree;
  if (form.checked(mf::单选框_后二)) return kLastTwo;
  if (form.checked(mf::单选框_拼接)) return kJoint;
  return -1;
}

shell::HandleSlot& slotOf(shell::SharedState& state, int kind) {
  switch (kind) {
    case kLastThree:
      return state.lastThreeWorkerHandle;
    case kLastTwo:
      return state.lastTwoWorkerHandle;
    default:
      return state.jointWorkerHandle;
  }
}

// With the runtime's mutex held.
void updateCaption(shell::App& app, Runtime& rt) {
  const int kind = selectedKind(app.main());
  const bool running = kind >= 0 && rt.running[static_cast<std::size_t>(kind)];
  const std::string& caption = running ? GBK("停止搜索") : GBK("搜索");
  if (app.main().text(mf::按钮_搜索) != caption) app.main().setText(mf::按钮_搜索, caption);
}

void endJob(shell::App& app, const std::shared_ptr<Job>& job) {
  Runtime& rt = app.ext<Runtime>();
  {
    std::lock_guard lock(rt.mutex);
    auto& current = rt.running[static_cast<std::size_t>(job->kind)];
    if (current == job) current.reset();
    updateCaption(app, rt);
  }
  job->finished.set_value();
}

void runJob(shell::App& app, Job& job) {
  SearchContext context{app, app.ext<Runtime>().seedOffset, job.stop, {}};
  switch (job.kind) {
    case kLastThree:
      runSearch(context, Mode::LastThree);
      break;
    case kLastTwo:
      runSearch(context, Mode::LastTwo);
      break;
    default:
      runJointSearch(context);
  }
}

}  // namespace

void startSearch(shell::App& app) {
  Runtime& rt = app.ext<Runtime>();
  auto job = std::make_shared<Job>();
  std::vector<std::shared_future<void>> before;
  {
    std::lock_guard lock(rt.mutex);
    job->kind = selectedKind(app.main());
    if (job->kind < 0) return;
    for (int kind = 0; kind < kKinds; ++kind) {
      const auto& other = rt.running[static_cast<std::size_t>(kind)];
      if (!other || !sharesState(kind, job->kind)) continue;
      other->stop = true;
      before.push_back(other->done);
    }
    rt.running[static_cast<std::size_t>(job->kind)] = job;
    updateCaption(app, rt);
  }
  shell::HandleSlot& slot = slotOf(app.state, job->kind);
  const bool started = shell::startWorker(app, slot, [&app, &slot, job, before] {
    // The searches asked to stop end at their next attempt; this worker, not
    // the caller (often the UI thread), waits for them.
    for (const auto& done : before) done.wait();
    runJob(app, *job);
    endJob(app, job);
    shell::finishWorker(app, slot);
  });
  if (!started) endJob(app, job);
}

void stopSearches(shell::App& app) {
  Runtime& rt = app.ext<Runtime>();
  std::lock_guard lock(rt.mutex);
  for (const auto& job : rt.running)
    if (job) job->stop = true;
}

void installSearch(shell::App& app) {
  ui::FormModel& form = app.main();
  form.on(mf::按钮_搜索, ui::Event::Click, [&app] {
    Runtime& rt = app.ext<Runtime>();
    {
      std::lock_guard lock(rt.mutex);
      const int kind = selectedKind(app.main());
      if (kind >= 0) {
        if (const auto& job = rt.running[static_cast<std::size_t>(kind)]) {
          job->stop = true;
          return;
        }
      }
    }
    startSearch(app);
  });
  for (int radio : {mf::单选框_后三, mf::单选框_后二, mf::单选框_拼接}) {
    form.on(radio, ui::Event::Click, [&app] {
      Runtime& rt = app.ext<Runtime>();
      std::lock_guard lock(rt.mutex);
      updateCaption(app, rt);
    });
  }
}

}  // namespace zr::search
