#include "shell/startup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "support/headless.h"
#include "text/gbk.h"

namespace zr::shell {
namespace {

using testing::Headless;
using testing::HeadlessOptions;

const std::string& planPath() { return GBK("D:\\计划区.txt"); }

struct DateCase {
  text::Date today;
  const char* left;
  const char* right;
};

class StartupDates : public ::testing::TestWithParam<DateCase> {};

TEST_P(StartupDates, FillTheRangeWithYesterdayAndToday) {
  Headless h(HeadlessOptions{GetParam().today});
  installShell(h.app);
  h.main().open();
  ASSERT_TRUE(h.runUntilIdle());
  EXPECT_EQ(h.main().text(mf::编辑框_日期_左), GetParam().left);
  EXPECT_EQ(h.main().text(mf::编辑框_日期_右), GetParam().right);
}

INSTANTIATE_TEST_SUITE_P(Days, StartupDates,
                         ::testing::Values(DateCase{{2014, 3, 13}, "2014-03-12", "2014-03-13"},
                                           DateCase{{2014, 3, 1}, "2014-02-28", "2014-03-01"},
                                           DateCase{{2015, 1, 1}, "2014-12-31", "2015-01-01"},
                                           DateCase{{2016, 3, 1}, "2016-02-29", "2016-03-01"}));

TEST(PollTimer, IsArmedFromTheIntervalBox) {
  struct Case {
    const char* interval;
    bool automatic;
    int period;
  } cases[] = {
      {"30", true, 30000}, {"abc", true, 0},           {"0", true, 0},  {"", true, 0},
      {"5", true, 5000},   {"999999", true, 86400000}, {"-3", true, 0}, {"30", false, 0},
  };
  for (const auto& c : cases) {
    Headless h;
    installShell(h.app);
    h.main().setText(mf::编辑框_自动开奖时间, c.interval);
    if (!c.automatic) h.main().setChecked(mf::单选框_手动开奖, true);
    h.main().open();
    ASSERT_TRUE(h.runUntilIdle());
    EXPECT_EQ(h.main().timerPeriod(mf::时钟_自动开奖), c.period) << c.interval << " automatic=" << c.automatic;
    EXPECT_TRUE(h.main().checked(mf::单选框_自动开奖) == c.automatic);
  }
}

TEST(PollTimer, TicksEveryThirtySecondsByDefault) {
  Headless h;
  installShell(h.app);
  int ticks = 0;
  h.main().on(mf::时钟_自动开奖, ui::Event::TimerTick, [&] { ++ticks; });
  h.main().open();
  ASSERT_TRUE(h.runUntilIdle());
  ASSERT_TRUE(h.advance(29999));
  EXPECT_EQ(ticks, 0);
  ASSERT_TRUE(h.advance(1));
  EXPECT_EQ(ticks, 1);
  ASSERT_TRUE(h.advance(60000));
  EXPECT_EQ(ticks, 3);
}

TEST(PlanArea, IsLoadedFromThePlanFile) {
  struct Case {
    const char* what;
    std::optional<std::string> file;
    std::string shown;
  };
  const std::string gbkPlan = GBK("050期:Pellor|800注|开123 中 底/\r\n");
  const Case cases[] = {
      {"missing file", std::nullopt, ""},
      {"empty file", std::string(), ""},
      {"GBK plan", gbkPlan, gbkPlan},
      {"zero byte inside", std::string("001\r\n\0garbage", 14), "001\r\n"},
  };
  for (const auto& c : cases) {
    Headless h;
    if (c.file) h.files.put(planPath(), *c.file);
    int changes = 0;
    h.main().on(mf::编辑框_计划区, ui::Event::TextChanged, [&] { ++changes; });
    installShell(h.app);
    h.main().open();
    ASSERT_TRUE(h.runUntilIdle());
    EXPECT_EQ(h.main().text(mf::编辑框_计划区), c.shown) << c.what;
    // Setting the text fires the box's handler even when it stays empty.
    EXPECT_EQ(changes, 1) << c.what;
  }
}

TEST(PlanArea, AnUnreadableFileGivesAnEmptyArea) {
  Headless h;
  h.files.put(planPath(), "x");
  h.files.setReadable(false);
  installShell(h.app);
  h.main().open();
  ASSERT_TRUE(h.runUntilIdle());
  EXPECT_EQ(h.main().text(mf::编辑框_计划区), "");
}

TEST(Creation, RunsItsStepsInOrder) {
  Headless h;
  std::vector<std::string> steps;
  std::mutex mutex;
  auto note = [&](std::string s) {
    std::lock_guard lock(mutex);
    steps.push_back(std::move(s));
  };
  h.app.hooks.attachSkin = [&] { note("skin:" + h.main().text(mf::编辑框_日期_左)); };
  h.app.hooks.retrievalRoutine = [&] {
    note("retrieval");
    finishWorker(h.app, h.app.state.retrievalWorkerHandle);
  };
  installShell(h.app);
  h.main().open();
  ASSERT_TRUE(h.runUntilIdle());
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0], "skin:2014-03-03");  // before the dates are set
  EXPECT_EQ(steps[1], "retrieval");
  std::lock_guard lock(h.app.state.mutex);
  EXPECT_NE(h.app.state.retrievalWorkerHandle.handle, 0u);
  EXPECT_TRUE(h.app.state.retrievalWorkerHandle.closed);
  EXPECT_EQ(h.app.state.lastThreeAttemptCount, 0);
}

TEST(ShutDown, DetachesFlushesAndExitsWithZero) {
  Headless h;
  std::vector<std::string> steps;
  h.app.hooks.detachSkin = [&] { steps.push_back("detach"); };
  h.app.hooks.beforeExit = [&] { steps.push_back("flush"); };
  installShell(h.app);
  h.main().open();
  ASSERT_TRUE(h.runUntilIdle());
  h.main().close();
  ASSERT_TRUE(h.process.waitForExit(5000));
  EXPECT_EQ(h.process.exitCode(), 0);
  EXPECT_EQ(h.process.exitCount(), 1);
  EXPECT_EQ(steps, (std::vector<std::string>{"detach", "flush"}));
}

// The real process ends at once with code 0, whatever a worker is doing.
struct ExitingProcess : platform::ProcessControl {
  void exitNow(int code) override { std::_Exit(code); }
};

[[noreturn]] void closeWhileAWorkerRuns() {
  Headless h;
  ExitingProcess exiting;
  platform::Services services{h.clock, h.ui, h.files, h.clipboard, h.sound, h.dialogs, h.windows, exiting, h.http};
  App app(services);
  std::atomic<bool> release{false};
  app.hooks.retrievalRoutine = [&] {
    while (!release) std::this_thread::yield();
  };
  installShell(app);
  app.main().open();
  while (app.workers.running() == 0) std::this_thread::yield();
  app.main().close();
  for (;;) std::this_thread::yield();
}

TEST(ShutDownDeathTest, EndsTheProcessWhileAWorkerStillRuns) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(closeWhileAWorkerRuns(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace zr::shell
