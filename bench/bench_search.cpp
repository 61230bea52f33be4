// The base-set search: attempts per second of the literal procedure and of
// the program's own path on one workload (set size 800 of 1000, window 10,
// the default limits, a fixed draw list), the generator loop alone as the
// floor, what each attempt spends beside its draws, and how the UI thread
// answers while a search runs flat out.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <future>
#include <thread>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "search/attempt_inputs.h"
#include "search/run_search.h"
#include "search/search.h"
#include "tests/search/literal_search.h"
#include "web/fake_transport.h"

namespace zr::search {
namespace {

// The desktop's services as far as the search uses them: a clock that stands
// still and a UI thread that runs posted work in order on a thread of its own.
class StillClock : public platform::Clock {
 public:
  text::Date today() const override { return {2014, 3, 13}; }
  std::uint32_t tickCount() const override { return 5000; }
};

class QueueUiThread : public ui::UiThread {
 public:
  QueueUiThread() : thread_([this] { loop(); }) {}
  ~QueueUiThread() override {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  void post(std::function<void()> task) override {
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
      queue_.push_back(std::move(task));
    }
    wake_.notify_one();
  }
  bool onUiThread() const override { return std::this_thread::get_id() == thread_.get_id(); }
  void setTimer(const void*, int, std::function<void()>) override {}

 private:
  void loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (stopping_) return;
      auto task = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      task();
      lock.lock();
    }
  }
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> queue_;
  bool stopping_ = false;
  std::thread thread_;
};

struct NoDesktop : platform::FileSystem,
                   platform::Clipboard,
                   platform::Sound,
                   platform::Dialogs,
                   platform::WindowSystem,
                   platform::ProcessControl {
  std::optional<std::string> readFile(const std::string&) override { return std::nullopt; }
  bool writeFileAtomic(const std::string&, std::string_view) override { return true; }
  bool setText(const std::string&) override { return true; }
  std::optional<std::string> text() override { return std::nullopt; }
  void playWav(std::span<const std::uint8_t>) override {}
  void messageBox(const std::string&, const std::string&, platform::MessageIcon) override {}
  void showForm(std::shared_ptr<ui::FormModel>, bool) override {}
  platform::ScreenSize screenSize() const override { return {1920, 1080}; }
  void exitNow(int) override {}
};

// The program without a desktop, the main form at its default texts and ten
// fixed draws in the list.
struct World {
  World() {
    const char* draws[] = {"042", "517", "930", "268", "804", "113", "679", "355", "721", "086"};
    for (const char* d : draws) {
      const int row = app.main().appendRow(mf::超级列表框1);
      app.main().setCell(mf::超级列表框1, row, 1, d);
    }
  }
  ~World() {
    stopSearches(app);
    app.workers.waitIdle(10000);
  }

  QueueUiThread ui;
  StillClock clock;
  NoDesktop desktop;
  web::FakeTransport http;
  platform::Services services{clock, ui, desktop, desktop, desktop, desktop, desktop, desktop, http};
  shell::App app{services};
  SeedOffset offset{0};
  std::atomic<bool> stop{false};
  SearchContext context{app, offset, stop, {}};

  long long attempts() {
    std::lock_guard lock(app.state.mutex);
    return app.state.lastThreeAttemptCount;
  }
};

void rate(benchmark::State& state, const char* name, double count) {
  state.counters[name] = benchmark::Counter(count, benchmark::Counter::kIsRate);
}

void BM_LiteralAttempt(benchmark::State& state) {
  World w;
  std::string text;
  for (auto _ : state) benchmark::DoNotOptimize(literal::attempt(w.context, Mode::LastThree, text));
  rate(state, "attempts/s", static_cast<double>(state.iterations()));
}
BENCHMARK(BM_LiteralAttempt)->Unit(benchmark::kMicrosecond);

// findOneBaseSet as the search runs it; one iteration finds one set.
void BM_ProgramAttempt(benchmark::State& state) {
  World w;
  BaseSetSearch search(w.context, Mode::LastThree);
  for (auto _ : state) {
    benchmark::DoNotOptimize(search.findOne());
    std::lock_guard lock(w.app.state.mutex);
    w.app.state.foundLastThreeSets.clear();
  }
  rate(state, "attempts/s", static_cast<double>(w.attempts()));
  state.counters["attempts/set"] = static_cast<double>(w.attempts()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ProgramAttempt)->Unit(benchmark::kMicrosecond);

// The seeds in effect for the picks of successive attempts (the third seeding
// of each), as the search makes them.
std::vector<std::uint32_t> attemptSeeds(std::size_t count) {
  SeedOffset offset{0};
  Random random;
  std::vector<std::uint32_t> seeds;
  for (std::size_t i = 0; i < count; ++i) {
    for (int k = 0; k < 3; ++k) reseed(random, 5000, offset);
    seeds.push_back(random.state);
  }
  return seeds;
}

// The floor: the draws of 800 distinct picks and nothing else.
void BM_FloorGeneratorLoop(benchmark::State& state) {
  const auto seeds = attemptSeeds(4096);
  Random random;
  BaseSet set;
  std::size_t i = 0;
  for (auto _ : state) {
    random.state = seeds[i++ % seeds.size()];
    drawPicks(random, 1000, 3, 800, set);
    benchmark::DoNotOptimize(set.member.data());
  }
  rate(state, "attempts/s", static_cast<double>(state.iterations()));
}
BENCHMARK(BM_FloorGeneratorLoop)->Unit(benchmark::kMicrosecond);

// The parts of an attempt beside its draws, each alone.
void BM_PartReseedThrice(benchmark::State& state) {
  World w;
  for (auto _ : state) {
    w.context.reseed();
    w.context.reseed();
    w.context.reseed();
    benchmark::DoNotOptimize(w.context.random.state);
  }
}
BENCHMARK(BM_PartReseedThrice)->Unit(benchmark::kNanosecond);

void BM_PartCountAndStatus(benchmark::State& state) {
  World w;
  AttemptInputs inputs(Mode::LastThree);
  inputs.refresh(w.app.main());
  std::string message = GBK("温馨提示：当前搜索第：");
  const std::size_t prefix = message.size();
  const std::string& suffix = GBK("个文本.");
  for (auto _ : state) {
    long long n;
    {
      std::lock_guard lock(w.app.state.mutex);
      n = ++w.app.state.lastThreeAttemptCount;
    }
    char digits[24];
    message.resize(prefix);
    message.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
    message += suffix;
    const std::uint64_t before = w.app.main().revision();
    shell::setStatus(w.app, shell::kNoticePart, message);
    inputs.ownWrite(before, w.app.main().revision());
  }
}
BENCHMARK(BM_PartCountAndStatus)->Unit(benchmark::kNanosecond);

void BM_PartReadInputsUnchanged(benchmark::State& state) {
  World w;
  AttemptInputs inputs(Mode::LastThree);
  for (auto _ : state) {
    inputs.refresh(w.app.main());
    benchmark::DoNotOptimize(inputs.windowSize());
  }
}
BENCHMARK(BM_PartReadInputsUnchanged)->Unit(benchmark::kNanosecond);

// What reading every box and the window again would cost at each attempt.
void BM_PartReadInputsChanged(benchmark::State& state) {
  World w;
  AttemptInputs inputs(Mode::LastThree);
  for (auto _ : state) {
    w.app.main().setStatus(shell::kSearchPart, "x");
    inputs.refresh(w.app.main());
    benchmark::DoNotOptimize(inputs.windowSize());
  }
}
BENCHMARK(BM_PartReadInputsChanged)->Unit(benchmark::kNanosecond);

void BM_PartEvaluate(benchmark::State& state) {
  World w;
  AttemptInputs inputs(Mode::LastThree);
  inputs.refresh(w.app.main());
  Random random{77};
  BaseSet set;
  drawPicks(random, 1000, 3, 800, set);
  for (auto _ : state) benchmark::DoNotOptimize(inputs.evaluate(set));
}
BENCHMARK(BM_PartEvaluate)->Unit(benchmark::kNanosecond);

// Built only for an accepted candidate: shown for comparison.
void BM_PartSetText(benchmark::State& state) {
  Random random{77};
  BaseSet set;
  drawPicks(random, 1000, 3, 800, set);
  for (auto _ : state) benchmark::DoNotOptimize(set.text());
}
BENCHMARK(BM_PartSetText)->Unit(benchmark::kNanosecond);

// A whole last-three search at the default texts (3 sets, no tolerance pair),
// and with 容对 1 to 3, which adds the tolerance step.
void BM_WholeSearch(benchmark::State& state) {
  World w;
  if (state.range(0)) {
    w.app.main().setText(mf::编辑框_容对_左, "1");
    w.app.main().setText(mf::编辑框_容对_右, "3");
  }
  for (auto _ : state) benchmark::DoNotOptimize(runSearch(w.context, Mode::LastThree));
}
BENCHMARK(BM_WholeSearch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// While a search that can never accept runs flat out on its worker, how long
// work posted to the UI thread waits; and whether the status bar keeps up.
void BM_UiLatencyWhileSearching(benchmark::State& state) {
  World w;
  installSearch(w.app);
  w.app.main().setText(mf::编辑框_取中奖期_左, "11");  // with the current-run and longest-run
  w.app.main().setText(mf::编辑框_取中奖期_右, "11");  // defaults: no set can pass
  startSearch(w.app);
  while (w.attempts() == 0) std::this_thread::yield();
  const long long startAttempts = w.attempts();
  double worstMs = 0, totalMs = 0;
  long long staleStatus = 0;
  for (auto _ : state) {
    const auto posted = std::chrono::steady_clock::now();
    std::promise<std::chrono::steady_clock::time_point> ran;
    auto done = ran.get_future();
    w.ui.post([&ran] { ran.set_value(std::chrono::steady_clock::now()); });
    const double ms = std::chrono::duration<double, std::milli>(done.get() - posted).count();
    worstMs = std::max(worstMs, ms);
    totalMs += ms;
    // The notice part names the attempt the search has reached (or just passed).
    const std::string notice = w.app.main().status(shell::kNoticePart);
    const std::string& prefix = GBK("温馨提示：当前搜索第：");
    long long shown = 0;
    std::from_chars(notice.data() + prefix.size(), notice.data() + notice.size(), shown);
    if (w.attempts() - shown > 1) ++staleStatus;
  }
  const long long searched = w.attempts() - startAttempts;
  stopSearches(w.app);
  w.app.workers.waitIdle(10000);
  state.counters["worst_ms"] = worstMs;
  state.counters["mean_ms"] = totalMs / static_cast<double>(state.iterations());
  state.counters["stale_status"] = static_cast<double>(staleStatus);
  rate(state, "search_attempts/s", static_cast<double>(searched));
}
BENCHMARK(BM_UiLatencyWhileSearching)->Iterations(3000)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zr::search

BENCHMARK_MAIN();
