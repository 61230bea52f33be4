// The draw mode's radio buttons, the poll interval, the manual update button
// and ticks that come while the monitor is still busy.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor_world.h"

namespace zr::testing {
namespace {

// The interval is read when automatic mode is clicked: below a second the
// timer stops, above a day it is taken as a day.
TEST(MonitorModes, IntervalGivesThePollPeriod) {
  const struct {
    const char* interval;
    int periodMs;
  } cases[] = {
      {"30", 30000},
      {"5", 5000},
      {"1", 1000},
      {"abc", 0},
      {"", 0},
      {"0", 0},
      {"-5", 0},
      {"0.5", 0},
      {" 7秒", 7000},
      {"86400", 86400000},
      {"86401", 86400000},
      {"99999999999", 86400000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("interval \"") + c.interval + "\"");
    MonitorWorld w;
    w.automatic(text::utf8ToGbk(c.interval));
    EXPECT_EQ(w.notice(), GBK("温馨提示：自动开奖已经开启,时间请自行调制!"));
    EXPECT_EQ(w.form().timerPeriod(mf::时钟_自动开奖), c.periodMs);
  }
}

TEST(MonitorModes, ChecksRunAtTheInterval) {
  const struct {
    const char* interval;
    int checksIn15s;
  } cases[] = {{"5", 3}, {"abc", 0}, {"0", 0}, {"30", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.interval);
    MonitorWorld w;
    w.automatic(c.interval);
    ASSERT_TRUE(w.h.advance(15000));
    EXPECT_EQ(w.portal.daysAsked().size(), 2u * c.checksIn15s);
  }
}

TEST(MonitorModes, EditingTheIntervalAloneKeepsThePeriod) {
  MonitorWorld w;
  w.automatic("5");
  w.form().userSetText(mf::编辑框_自动开奖时间, "60");
  ASSERT_TRUE(w.h.runUntilIdle());
  EXPECT_EQ(w.form().timerPeriod(mf::时钟_自动开奖), 5000);
}

TEST(MonitorModes, ManualModeStopsPolling) {
  MonitorWorld w;
  w.automatic("5");
  ASSERT_TRUE(w.h.advance(5000));
  ASSERT_EQ(w.portal.daysAsked().size(), 2u);

  w.form().userClick(mf::单选框_手动开奖);
  ASSERT_TRUE(w.h.runUntilIdle());
  EXPECT_EQ(w.notice(), GBK("温馨提示：手动开奖已开启,请勿忘开奖时间"));
  EXPECT_EQ(w.form().timerPeriod(mf::时钟_自动开奖), 0);
  ASSERT_TRUE(w.h.advance(60000));
  EXPECT_EQ(w.portal.daysAsked().size(), 2u);

  w.automatic("5");
  ASSERT_TRUE(w.h.advance(5000));
  EXPECT_EQ(w.portal.daysAsked().size(), 4u);
}

// The manual update is a plain list refresh of the date boxes' range: no
// chime, no window, no plan line.
TEST(MonitorModes, ManualUpdateRetrievesTheDateRange) {
  MonitorWorld w;
  w.publish("2014-03-01", {{"20140301-001", "12345"}});
  w.publish("2014-03-02", {{"20140302-001", "67890"}});
  w.form().setText(mf::编辑框_日期_左, "2014-3-1");
  w.form().setText(mf::编辑框_日期_右, "2014-03-02");
  w.form().setText(mf::编辑框_计划区, "plan");
  w.form().userClick(mf::按钮_手动更新);
  ASSERT_TRUE(w.h.runUntilIdle());
  EXPECT_EQ(w.portal.daysAsked(), (std::vector<std::string>{"2014-03-01", "2014-03-02"}));
  EXPECT_EQ(w.listRows(), (std::vector<Row>{{"20140301-001", "345"}, {"20140302-001", "890"}}));
  EXPECT_EQ(w.h.sound.playCount(), 0);
  EXPECT_EQ(w.windowsShown(), 0);
  EXPECT_EQ(w.form().text(mf::编辑框_计划区), "plan");
}

// A tick while the check still waits for the portal is skipped.
TEST(MonitorModes, TickDuringACheckIsSkipped) {
  MonitorWorld w;
  w.publish("2014-03-12", {{"20140312-120", "73402"}});
  w.fillList({{"20140312-120", "73402"}});
  w.portal.holdIf([](int nth, const std::string&) { return nth == 1; });
  w.automatic("5");

  ASSERT_TRUE(w.h.ui.advance(5000));
  ASSERT_TRUE(w.portal.waitForAsked(1));
  const auto handle = w.slot(&shell::SharedState::monitorWorkerHandle).handle;
  ASSERT_TRUE(w.h.ui.advance(10000));
  EXPECT_EQ(w.slot(&shell::SharedState::monitorWorkerHandle).handle, handle);
  EXPECT_EQ(w.portal.daysAsked().size(), 1u);

  w.portal.open();
  ASSERT_TRUE(w.h.runUntilIdle());
  EXPECT_EQ(w.portal.daysAsked().size(), 2u);
  EXPECT_EQ(w.notice(), GBK("温馨提示：[尚未开奖...]"));

  // Once it has ended the next tick checks again.
  ASSERT_TRUE(w.h.advance(5000));
  EXPECT_EQ(w.portal.daysAsked().size(), 4u);
}

// A tick while the refresh after a new draw still runs is skipped too, so one
// new draw opens one window.
TEST(MonitorModes, TickDuringARefreshIsSkipped) {
  MonitorWorld w;
  w.publish("2014-03-13", {{"20140313-001", "11223"}});
  w.portal.holdIf([](int nth, const std::string&) { return nth == 3; });  // the refresh's first page
  w.automatic("5");

  ASSERT_TRUE(w.h.ui.advance(5000));
  ASSERT_TRUE(w.portal.waitForAsked(3));
  ASSERT_TRUE(w.h.ui.advance(10000));
  EXPECT_EQ(w.portal.daysAsked().size(), 3u);

  w.portal.open();
  ASSERT_TRUE(w.h.runUntilIdle());
  EXPECT_EQ(w.windowsShown(), 1);
  EXPECT_EQ(w.h.sound.playCount(), 1);

  ASSERT_TRUE(w.h.advance(5000));
  EXPECT_EQ(w.portal.daysAsked().size(), 6u);
  EXPECT_EQ(w.notice(), GBK("温馨提示：[尚未开奖...]"));
  EXPECT_EQ(w.windowsShown(), 1);
}

}  // namespace
}  // namespace zr::testing
