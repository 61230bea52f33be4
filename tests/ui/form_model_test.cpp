// The form model: its events, their order across threads, radio groups,
// timers on the virtual clock and the draw list.
#include "ui/form_model.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/fake/test_ui_thread.h"
#include "text/gbk.h"
#include "ui/forms.h"

namespace zr::ui {
namespace {

// Counts what reaches the UI thread.
class CountingUi : public UiThread {
 public:
  explicit CountingUi(UiThread& inner) : inner_(inner) {}
  void post(std::function<void()> task) override {
    ++posts;
    inner_.post(std::move(task));
  }
  bool onUiThread() const override { return inner_.onUiThread(); }
  void setTimer(const void* key, int periodMs, std::function<void()> tick) override {
    inner_.setTimer(key, periodMs, std::move(tick));
  }
  std::atomic<int> posts{0};

 private:
  UiThread& inner_;
};

struct Recorder : ModelObserver {
  void modelChanged(int ctl, Change what) override {
    std::lock_guard lock(mutex);
    seen.emplace_back(ctl, what);
  }
  int count(int ctl, Change what) {
    std::lock_guard lock(mutex);
    int n = 0;
    for (auto& [c, w] : seen) n += c == ctl && w == what;
    return n;
  }
  std::mutex mutex;
  std::vector<std::pair<int, Change>> seen;
};

class MainModel : public ::testing::Test {
 protected:
  MainModel() { model.setObserver(&observer); }
  ~MainModel() override { ui.shutdown(); }

  void idle() { ASSERT_TRUE(ui.runUntilIdle()); }

  fake::TestUiThread ui;
  CountingUi counting{ui};
  FormModel model{mainFormDef(), counting};
  Recorder observer;
};

TEST_F(MainModel, StartsWithTheDefaultsInGbk) {
  EXPECT_EQ(model.text(mf::标签_注数), GBK("注数："));
  EXPECT_EQ(model.text(mf::编辑框_自动开奖时间), "30");
  EXPECT_EQ(model.text(kForm), text::utf8ToGbk(mainFormDef().caption));
  EXPECT_EQ(model.status(0), GBK("温馨提示："));
  EXPECT_EQ(model.status(1), GBK("搜索提示："));
  EXPECT_EQ(model.status(2), "");
  EXPECT_TRUE(model.checked(mf::单选框_自动开奖));
  EXPECT_FALSE(model.checked(mf::单选框_手动开奖));
  EXPECT_TRUE(model.checked(mf::单选框_后三));
  EXPECT_TRUE(model.enabled(mf::按钮_手动更新));
  EXPECT_EQ(model.timerPeriod(mf::时钟1), 30000);
  EXPECT_EQ(model.timerPeriod(mf::时钟_自动开奖), 0);
  EXPECT_EQ(model.position().x, 50);
  EXPECT_FALSE(model.isOpen());
}

TEST_F(MainModel, EverySetTextFiresTextChangedEvenWhenEqual) {
  std::atomic<int> fired{0};
  model.on(mf::编辑框_结果, Event::TextChanged, [&] { fired++; });
  const auto before = model.revision();
  model.setText(mf::编辑框_结果, "");
  model.setText(mf::编辑框_结果, "");
  model.setText(mf::编辑框_结果, "1 2 ");
  idle();
  EXPECT_EQ(fired, 3);
  EXPECT_EQ(model.revision(), before + 3);
  EXPECT_EQ(observer.count(mf::编辑框_结果, Change::Text), 3);
}

TEST_F(MainModel, OnlyChangesWithAHandlerReachTheUiThread) {
  model.on(mf::编辑框2, Event::TextChanged, [] {});
  model.setText(mf::编辑框3, "x");
  model.setStatus(0, "status");
  model.appendRow(mf::超级列表框1);
  model.setCell(mf::超级列表框1, 0, 0, "001");
  model.setChecked(mf::选择框2, true);
  model.setEnabled(mf::按钮_手动更新, false);
  EXPECT_EQ(counting.posts, 0);
  model.setText(mf::编辑框2, "y");
  EXPECT_EQ(counting.posts, 1);
  idle();
}

TEST_F(MainModel, HandlersRunOnTheUiThreadOneAtATime) {
  std::atomic<int> inside{0}, overlaps{0}, offThread{0}, runs{0};
  auto handler = [&] {
    if (inside++ != 0) overlaps++;
    if (!ui.onUiThread()) offThread++;
    runs++;
    inside--;
  };
  model.on(mf::编辑框2, Event::TextChanged, handler);
  model.on(mf::编辑框3, Event::TextChanged, handler);
  std::thread a([&] {
    for (int i = 0; i < 200; ++i) model.setText(mf::编辑框2, "a");
  });
  std::thread b([&] {
    for (int i = 0; i < 200; ++i) model.setText(mf::编辑框3, "b");
  });
  a.join();
  b.join();
  idle();
  EXPECT_EQ(runs, 400);
  EXPECT_EQ(overlaps, 0);
  EXPECT_EQ(offThread, 0);
}

// Handlers run in the order of the changes: each thread's own order is kept,
// a change that happened before another one (across threads) has its handler
// run first, and changes made by handlers on the UI thread join the same order.
TEST_F(MainModel, HandlersRunInTheOrderOfTheChanges) {
  constexpr int kRounds = 150;
  std::mutex logMutex;
  std::vector<int> log;
  auto record = [&](int ctl) {
    return [&, ctl] {
      std::lock_guard lock(logMutex);
      log.push_back(ctl);
    };
  };
  for (int ctl : {mf::编辑框2, mf::编辑框3, mf::编辑框_结果, mf::编辑框_取开奖期, mf::编辑框_取开奖期1})
    model.on(ctl, Event::TextChanged, record(ctl));
  // The UI thread answers each change of 编辑框_结果 with two changes of its own.
  model.on(mf::编辑框_结果, Event::TextChanged, [&] {
    model.setText(mf::编辑框_取开奖期, "u");
    model.setText(mf::编辑框_取开奖期1, "u");
  });

  // Thread b answers each change of 编辑框2 as soon as it reads it from the
  // model, so its change comes after the one it saw.
  std::atomic<int> answered{-1};
  std::thread a([&] {
    for (int k = 0; k < kRounds; ++k) {
      while (answered.load() < k - 1) std::this_thread::yield();
      model.setText(mf::编辑框2, std::to_string(k));
      model.setText(mf::编辑框_结果, std::to_string(k));
    }
  });
  std::thread b([&] {
    for (int k = 0; k < kRounds; ++k) {
      while (model.text(mf::编辑框2) != std::to_string(k)) std::this_thread::yield();
      model.setText(mf::编辑框3, std::to_string(k));
      answered.store(k);
    }
  });
  a.join();
  b.join();
  idle();

  auto project = [&](std::initializer_list<int> ctls) {
    std::vector<int> out;
    for (int c : log) {
      for (int want : ctls) {
        if (c == want) out.push_back(c);
      }
    }
    return out;
  };
  std::vector<int> alternating, uiPairs;
  for (int k = 0; k < kRounds; ++k) {
    alternating.insert(alternating.end(), {mf::编辑框2, mf::编辑框_结果});
    uiPairs.insert(uiPairs.end(), {mf::编辑框_取开奖期, mf::编辑框_取开奖期1});
  }
  EXPECT_EQ(project({mf::编辑框2, mf::编辑框_结果}), alternating);
  EXPECT_EQ(project({mf::编辑框_取开奖期, mf::编辑框_取开奖期1}), uiPairs);

  // The k-th change of 编辑框3 came after the k-th change of 编辑框2, and
  // each UI pair after the change of 编辑框_结果 that caused it.
  int seen2 = 0, seen3 = 0, seenResult = 0, seenUi = 0;
  for (int c : log) {
    if (c == mf::编辑框2) ++seen2;
    if (c == mf::编辑框3) {
      EXPECT_LT(seen3++, seen2);
    }
    if (c == mf::编辑框_结果) ++seenResult;
    if (c == mf::编辑框_取开奖期) {
      EXPECT_LT(seenUi++, seenResult);
    }
  }
  EXPECT_EQ(seen3, kRounds);
}

TEST_F(MainModel, RadioButtonsOfOneGroupBoxExcludeEachOther) {
  model.setChecked(mf::单选框_后二, true);
  EXPECT_TRUE(model.checked(mf::单选框_后二));
  EXPECT_FALSE(model.checked(mf::单选框_后三));
  EXPECT_FALSE(model.checked(mf::单选框_拼接));
  EXPECT_TRUE(model.checked(mf::单选框_自动开奖));  // another group
  EXPECT_EQ(observer.count(mf::单选框_后三, Change::Checked), 1);

  model.setChecked(mf::单选框_后二, false);
  EXPECT_FALSE(model.checked(mf::单选框_后二));
  EXPECT_FALSE(model.checked(mf::单选框_后三));
}

TEST_F(MainModel, UserClicksChangeStateFirstThenFireClick) {
  std::mutex m;
  std::vector<std::pair<int, bool>> clicks;  // control and its state seen by the handler
  for (int ctl : {mf::单选框_手动开奖, mf::选择框_声音, mf::按钮_搜索}) {
    model.on(ctl, Event::Click, [&, ctl] {
      std::lock_guard lock(m);
      clicks.emplace_back(ctl, model.checked(ctl));
    });
  }
  // A checked radio stays checked; a check box toggles back.
  for (int ctl : {mf::单选框_手动开奖, mf::选择框_声音, mf::按钮_搜索, mf::单选框_手动开奖, mf::选择框_声音}) {
    model.userClick(ctl);
    idle();
  }
  const std::vector<std::pair<int, bool>> expected = {{mf::单选框_手动开奖, true},
                                                      {mf::选择框_声音, false},
                                                      {mf::按钮_搜索, false},
                                                      {mf::单选框_手动开奖, true},
                                                      {mf::选择框_声音, true}};
  EXPECT_EQ(clicks, expected);
  EXPECT_FALSE(model.checked(mf::单选框_自动开奖));
  // The cleared sibling is told to the view; the clicked control is not.
  EXPECT_EQ(observer.count(mf::单选框_自动开奖, Change::Checked), 1);
  EXPECT_EQ(observer.count(mf::单选框_手动开奖, Change::Checked), 0);
  EXPECT_EQ(observer.count(mf::选择框_声音, Change::Checked), 0);
}

TEST_F(MainModel, SetCheckedFiresNoClick) {
  std::atomic<int> clicks{0};
  model.on(mf::单选框_手动开奖, Event::Click, [&] { clicks++; });
  model.setChecked(mf::单选框_手动开奖, true);
  idle();
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(observer.count(mf::单选框_手动开奖, Change::Checked), 1);
}

TEST_F(MainModel, TypedTextFiresTextChangedWithoutEcho) {
  std::atomic<int> fired{0};
  model.on(mf::编辑框_计划区, Event::TextChanged, [&] { fired++; });
  const auto before = model.revision();
  model.userSetText(mf::编辑框_计划区, "typed");
  idle();
  EXPECT_EQ(model.text(mf::编辑框_计划区), "typed");
  EXPECT_EQ(fired, 1);
  EXPECT_GT(model.revision(), before);
  EXPECT_EQ(observer.count(mf::编辑框_计划区, Change::Text), 0);
}

TEST_F(MainModel, FormLife) {
  std::vector<std::string> events;
  std::mutex m;
  auto log = [&](const char* what) {
    return [&, what] {
      std::lock_guard lock(m);
      events.push_back(what);
      EXPECT_TRUE(ui.onUiThread());
    };
  };
  model.on(kForm, Event::Created, log("created"));
  model.on(kForm, Event::Destroying, log("destroying"));
  model.open();
  model.open();
  EXPECT_TRUE(model.isOpen());
  model.move(1664, 880);
  EXPECT_EQ(model.position().x, 1664);
  EXPECT_EQ(model.position().y, 880);
  model.close();
  model.close();
  EXPECT_FALSE(model.isOpen());
  idle();
  EXPECT_EQ(events, (std::vector<std::string>{"created", "destroying"}));
  EXPECT_EQ(observer.count(kForm, Change::Opened), 1);
  EXPECT_EQ(observer.count(kForm, Change::Moved), 1);
  EXPECT_EQ(observer.count(kForm, Change::Closed), 1);
}

TEST_F(MainModel, DrawListRowsAndCells) {
  const int list = mf::超级列表框1;
  EXPECT_EQ(model.rowCount(list), 0);
  EXPECT_EQ(model.visibleRow(list), -1);
  EXPECT_EQ(model.appendRow(list), 0);
  EXPECT_EQ(model.appendRow(list), 1);
  model.setCell(list, 1, 0, "20140313-001");
  model.setCell(list, 1, 1, "345");
  model.setCell(list, 1, 2, "beyond the columns");
  model.setCell(list, 2, 0, "beyond the rows");
  model.setCell(list, -1, 0, "negative");
  EXPECT_EQ(model.rowCount(list), 2);
  EXPECT_EQ(model.cell(list, 1, 0), "20140313-001");
  EXPECT_EQ(model.cell(list, 1, 1), "345");
  EXPECT_EQ(model.cell(list, 0, 0), "");
  struct Out {
    int row, col;
  };
  for (Out o : {Out{1, 2}, Out{2, 0}, Out{-1, 0}, Out{0, -1}}) EXPECT_EQ(model.cell(list, o.row, o.col), "");
  EXPECT_EQ(model.rows(list), (std::vector<std::vector<std::string>>{{"", ""}, {"20140313-001", "345"}}));

  model.ensureVisible(list, 1);
  EXPECT_EQ(model.visibleRow(list), 1);
  model.ensureVisible(list, 5);
  EXPECT_EQ(model.visibleRow(list), 1);
  model.deleteAllRows(list);
  EXPECT_EQ(model.rowCount(list), 0);
  EXPECT_EQ(model.visibleRow(list), -1);
  EXPECT_EQ(model.cell(list, 1, 0), "");
  EXPECT_EQ(model.rowCount(mf::编辑框2), 0);
  EXPECT_EQ(observer.count(list, Change::Rows), 3);
  EXPECT_EQ(observer.count(list, Change::Cell), 2);
}

TEST_F(MainModel, StatusPartsTellTheObserverTheirIndex) {
  model.setStatus(1, GBK("搜索提示：[全部任务搜索完毕!]"));
  model.setStatus(5, "ignored");
  EXPECT_EQ(model.status(1), GBK("搜索提示：[全部任务搜索完毕!]"));
  EXPECT_EQ(observer.count(1, Change::Status), 1);
  EXPECT_EQ(observer.count(5, Change::Status), 0);
}

TEST_F(MainModel, ModelIsSafeUnderConcurrentWritersAndReaders) {
  std::atomic<bool> stop{false};
  std::thread reader([&] {
    while (!stop) {
      (void)model.status(0);
      (void)model.text(mf::编辑框_结果);
      (void)model.cell(mf::超级列表框1, 0, 0);
    }
  });
  std::vector<std::thread> writers;
  for (int t = 0; t < 3; ++t) {
    writers.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) {
        model.setStatus(t % 2, std::to_string(i));
        model.setText(mf::编辑框_结果, std::to_string(i));
        if (i % 100 == 0) model.setCell(mf::超级列表框1, model.appendRow(mf::超级列表框1), 0, "x");
      }
    });
  }
  for (auto& w : writers) w.join();
  stop = true;
  reader.join();
  EXPECT_EQ(model.rowCount(mf::超级列表框1), 60);
  EXPECT_EQ(model.text(mf::编辑框_结果).empty(), false);
}

// Timers on the virtual clock.
class NotifyTimers : public ::testing::Test {
 protected:
  NotifyTimers() {
    for (int t : {nf::时钟1, nf::时钟2}) {
      model.on(t, Event::TimerTick, [this, t] {
        std::lock_guard lock(mutex);
        ticks.emplace_back(ui.now(), t);
        if (!ui.onUiThread()) offThread = true;
      });
    }
  }
  ~NotifyTimers() override { ui.shutdown(); }

  int ticksOf(int timer) {
    std::lock_guard lock(mutex);
    int n = 0;
    for (auto& [at, t] : ticks) n += t == timer;
    return n;
  }

  fake::TestUiThread ui;
  FormModel model{notifyFormDef(), ui};
  std::mutex mutex;
  std::vector<std::pair<std::int64_t, int>> ticks;
  bool offThread = false;
};

TEST_F(NotifyTimers, TimersRunFromOpeningInTimeOrder) {
  ASSERT_TRUE(ui.advance(500));
  EXPECT_EQ(ticksOf(nf::时钟1), 0) << "a closed form's timers do not run";
  model.open();
  ASSERT_TRUE(ui.advance(1000));
  EXPECT_EQ(ticksOf(nf::时钟1), 20);
  EXPECT_EQ(ticksOf(nf::时钟2), 1);
  EXPECT_FALSE(offThread);
  std::lock_guard lock(mutex);
  for (std::size_t i = 1; i < ticks.size(); ++i) EXPECT_LE(ticks[i - 1].first, ticks[i].first);
  // Both fall due at 1500: the one armed first ticks first.
  ASSERT_GE(ticks.size(), 2u);
  EXPECT_EQ(ticks[ticks.size() - 2], (std::pair<std::int64_t, int>{1500, nf::时钟1}));
  EXPECT_EQ(ticks.back(), (std::pair<std::int64_t, int>{1500, nf::时钟2}));
}

TEST_F(NotifyTimers, PeriodZeroStopsAndANewPeriodRestarts) {
  model.open();
  ASSERT_TRUE(ui.advance(100));
  model.setTimerPeriod(nf::时钟1, 0);
  EXPECT_EQ(model.timerPeriod(nf::时钟1), 0);
  ASSERT_TRUE(ui.advance(400));
  EXPECT_EQ(ticksOf(nf::时钟1), 2);
  model.setTimerPeriod(nf::时钟1, 200);
  ASSERT_TRUE(ui.advance(400));
  EXPECT_EQ(ticksOf(nf::时钟1), 4);
}

// A tick handler may stop its own timer, as the slide-in does.
TEST_F(NotifyTimers, TickHandlerStopsItsTimer) {
  int steps = 0;
  model.on(nf::时钟1, Event::TimerTick, [&] {
    if (++steps == 10) model.setTimerPeriod(nf::时钟1, 0);
  });
  model.open();
  ASSERT_TRUE(ui.advance(2000));
  EXPECT_EQ(steps, 10);
}

TEST_F(NotifyTimers, CloseStopsEveryTimer) {
  model.open();
  ASSERT_TRUE(ui.advance(1000));
  model.close();
  EXPECT_EQ(ui.armedTimers(), 0);
  ASSERT_TRUE(ui.advance(5000));
  EXPECT_EQ(ticksOf(nf::时钟1), 20);
  EXPECT_EQ(ticksOf(nf::时钟2), 1);
}

TEST(FormModelTimers, DestroyedModelLeavesNoTimer) {
  fake::TestUiThread ui;
  {
    FormModel model(notifyFormDef(), ui);
    model.open();
    EXPECT_EQ(ui.armedTimers(), 2);
  }
  EXPECT_EQ(ui.armedTimers(), 0);
  EXPECT_TRUE(ui.advance(1000));
}

}  // namespace
}  // namespace zr::ui
