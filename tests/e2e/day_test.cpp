// A player's day with the whole program and no desktop: start-up fills the
// draw list, a search fills the result boxes, a typed draw enters the plan,
// one click copies numbers and plan, the monitor follows new draws, and the
// plan file holds the plan area when the window closes.
#include <gtest/gtest.h>

#include "app/wiring/wiring.h"
#include "e2e/portal_double.h"
#include "support/headless.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace zr {
namespace {

using testing::Headless;
using testing::HeadlessOptions;
using testing::PortalDouble;

const text::Date kToday{2014, 3, 13};

struct Day : ::testing::Test {
  Headless h{HeadlessOptions{kToday}};
  PortalDouble portal{h.http, kToday, 40};

  ui::FormModel& m() { return h.main(); }
  void start() {
    app::installAll(h.app);
    m().open();
    ASSERT_TRUE(h.runUntilIdle());
  }
  std::string lastRow(int col) { return m().cell(mf::超级列表框1, m().rowCount(mf::超级列表框1) - 1, col); }
  std::string planFile() { return h.files.get(GBK("D:\\计划区.txt")).value_or("<none>"); }
  void search() {
    m().userClick(mf::按钮_搜索);
    ASSERT_TRUE(h.runUntilIdle());
  }
};

TEST_F(Day, StartUpFillsTheListFromYesterdayAndToday) {
  start();
  EXPECT_EQ(m().rowCount(mf::超级列表框1), 120 + 40);
  EXPECT_EQ(m().cell(mf::超级列表框1, 0, 0), "001");
  EXPECT_EQ(lastRow(0), "040");
  EXPECT_EQ(m().text(mf::标签_最新一期期号), "040");
  EXPECT_EQ(m().text(mf::标签_最新一期号码), portal::drawNumber(kToday, 40));
  EXPECT_EQ(lastRow(1), text::lastBytes(portal::drawNumber(kToday, 40), 3));
  EXPECT_EQ(m().status(shell::kNoticePart), GBK("温馨提示：<开奖获取完毕!>"));
  EXPECT_TRUE(m().enabled(mf::按钮_手动更新));
  EXPECT_EQ(m().timerPeriod(mf::时钟_自动开奖), 30000);
}

TEST_F(Day, SearchManualDrawCopyAndNewDraws) {
  start();

  // A last-three search with 容对 1 to 3: the union of the three sets found.
  m().setText(mf::编辑框_容对_左, "1");
  m().setText(mf::编辑框_容对_右, "3");
  search();
  const std::string result = m().text(mf::编辑框_结果);
  EXPECT_EQ(m().text(mf::编辑框2), result);
  const std::size_t count = text::countPieces(result, " ");
  EXPECT_GE(count, 800u);
  EXPECT_EQ(m().text(mf::标签_注数), GBK("注数：") + text::formatInt(count) + GBK("注"));
  EXPECT_EQ(m().text(mf::标签52), GBK("注数：") + text::formatInt(count));
  EXPECT_EQ(m().status(shell::kSearchPart), GBK("搜索提示：[全部任务搜索完毕!]"));

  // A draw typed by hand becomes the latest and enters the plan.
  m().setText(mf::编辑框_手动期号, "041");
  m().setText(mf::编辑框_手动奖号, "12345");
  m().userClick(mf::按钮1);
  ASSERT_TRUE(h.runUntilIdle());
  EXPECT_EQ(lastRow(0), "041");
  EXPECT_EQ(lastRow(1), "12345");
  const std::string plan = m().text(mf::编辑框_计划区);
  const bool hit = result.find("345") != std::string::npos;
  EXPECT_EQ(
      plan.rfind(GBK("041期:Pellor|") + text::formatInt(count) + GBK("注|开345 ") + (hit ? GBK("中") : GBK("挂")), 0),
      0u)
      << text::gbkToUtf8(plan);

  // One click copies numbers, plan, the pending line and the statistics.
  m().userClick(mf::按钮3);
  ASSERT_TRUE(h.runUntilIdle());
  const std::string copied = h.clipboard.content();
  EXPECT_EQ(copied.rfind(result + "\r\n\r\n" + plan, 0), 0u);
  EXPECT_NE(copied.find(GBK("042期:Pellor|")), std::string::npos);
  EXPECT_NE(copied.find(GBK("人工参数搜索：总共1期  中奖：") + (hit ? "1" : "0")), std::string::npos);

  // The portal publishes draw 041: the typed row differs, so the next tick
  // refreshes, chimes, opens the window, plans and searches again.
  portal.publish();
  const int searchesBefore = static_cast<int>(h.app.state.foundLastThreeSets.size());
  ASSERT_TRUE(h.advance(30000));
  EXPECT_EQ(m().rowCount(mf::超级列表框1), 120 + 41);
  EXPECT_EQ(lastRow(0), "041");
  EXPECT_EQ(h.sound.playCount(), 1);
  EXPECT_EQ(h.windows.shown().size(), 1u);
  EXPECT_EQ(h.clipboard.content(),
            GBK("[Quovix] <041期>-重庆五星开-<") + portal::drawNumber(kToday, 41) + GBK("> [Quovix]"));
  EXPECT_EQ(text::countPieces(m().text(mf::编辑框_计划区), "\r\n"), 2u);
  EXPECT_EQ(searchesBefore, 3);
  EXPECT_EQ(m().status(shell::kSearchPart), GBK("搜索提示：[全部任务搜索完毕!]"));

  // Nothing new: the next tick only says so.
  ASSERT_TRUE(h.advance(30000));
  EXPECT_EQ(m().status(shell::kNoticePart), GBK("温馨提示：[尚未开奖...]"));
  EXPECT_EQ(h.sound.playCount(), 1);

  // Closing ends the process with 0, and the plan file holds the plan area.
  m().close();
  ASSERT_TRUE(h.process.waitForExit(5000));
  EXPECT_EQ(h.process.exitCode(), 0);
  EXPECT_EQ(planFile(), m().text(mf::编辑框_计划区));
}

}  // namespace
}  // namespace zr
