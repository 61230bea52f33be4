// Workers that meet on the form model: searches while the draw list is
// refilled, the monitor ticking during a manual update, a typed draw during a
// refresh, the window closed while a retrieval waits. Built under
// ThreadSanitizer as well (tools/tsan); every wait has a time limit.
#include <gtest/gtest.h>

#include "robust/world.h"
#include "shell/counters.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace zr {
namespace {

using testing::World;

constexpr int kLimitMs = 60000;  // ThreadSanitizer slows the searches several times over

class SearchDuringRefresh : public ::testing::TestWithParam<int> {};

TEST_P(SearchDuringRefresh, BothFinishAndTheListIsWhole) {
  World w;
  w.start();
  w.m().setText(mf::编辑框_容对_左, "1");
  w.m().setText(mf::编辑框_容对_右, "3");
  w.m().setText(mf::编辑框_容对_左1, "1");
  w.m().setText(mf::编辑框_容对_右1, "3");
  w.m().userClick(GetParam());
  w.m().userClick(mf::按钮_搜索);
  w.m().userClick(mf::按钮_手动更新);
  ASSERT_TRUE(w.h.runUntilIdle(kLimitMs));
  EXPECT_EQ(w.rows(), 160);
  EXPECT_EQ(w.lastRow(0), "040");
  EXPECT_EQ(w.notice().starts_with(GBK("温馨提示：")), true);
  EXPECT_EQ(w.searchNotice(), GBK("搜索提示：[全部任务搜索完毕!]"));
  EXPECT_EQ(w.m().text(mf::按钮_搜索), GBK("搜索"));
  EXPECT_TRUE(w.m().enabled(mf::按钮_手动更新));
}

INSTANTIATE_TEST_SUITE_P(Threads, SearchDuringRefresh,
                         ::testing::Values(mf::单选框_后三, mf::单选框_后二, mf::单选框_拼接));

// The monitor's ticks while a manual update waits on the portal: the first
// check overlaps the update, later ticks are skipped while it runs, and the
// list ends holding each draw once.
TEST(Threads, MonitorTicksDuringAManualUpdate) {
  World w;
  w.start();
  w.m().setChecked(mf::选择框1, false);
  w.portal.setGate(false);
  w.m().userClick(mf::按钮_手动更新);
  ASSERT_TRUE(w.portal.waitForHeld(1));
  ASSERT_TRUE(w.h.ui.advance(30000));
  ASSERT_TRUE(w.portal.waitForHeld(2));
  const std::size_t requests = w.h.http.requests().size();
  ASSERT_TRUE(w.h.ui.advance(30000));  // the check still runs: this tick is skipped
  ASSERT_TRUE(w.h.ui.runUntilIdle());
  EXPECT_EQ(w.h.http.requests().size(), requests);
  w.portal.publish();
  w.portal.setGate(true);
  ASSERT_TRUE(w.h.runUntilIdle(kLimitMs));
  ASSERT_TRUE(w.h.advance(30000));
  EXPECT_EQ(w.rows(), 161);
  EXPECT_EQ(w.lastRow(0), "041");
  EXPECT_EQ(w.m().cell(mf::超级列表框1, 0, 0), "001");
  EXPECT_EQ(w.notice(), GBK("温馨提示：[尚未开奖...]"));
  EXPECT_TRUE(w.m().enabled(mf::按钮_手动更新));
}

// A draw typed while the refresh waits on the portal stays above the rows the
// refresh then appends, and its plan line is kept.
TEST(Threads, ManualEntryDuringARefresh) {
  World w;
  w.start();
  w.m().setText(mf::标签_注数, GBK("注数：800注"));  // as after a search
  w.portal.setGate(false);
  w.m().userClick(mf::按钮_手动更新);
  ASSERT_TRUE(w.portal.waitForHeld(1));
  w.m().userSetText(mf::编辑框_手动期号, "041");
  w.m().userSetText(mf::编辑框_手动奖号, "12345");
  w.m().userClick(mf::按钮1);
  ASSERT_TRUE(w.h.ui.runUntilIdle());
  w.portal.setGate(true);
  ASSERT_TRUE(w.h.runUntilIdle(kLimitMs));
  ASSERT_TRUE(w.h.advance(shell::kPlanWriteIntervalMs));
  EXPECT_EQ(w.rows(), 161);
  EXPECT_EQ(w.m().cell(mf::超级列表框1, 0, 0), "041");
  EXPECT_EQ(w.m().cell(mf::超级列表框1, 0, 1), "12345");
  EXPECT_EQ(w.lastRow(0), "040");
  EXPECT_EQ(w.m().text(mf::标签_最新一期期号), "040");
  const std::string plan = w.m().text(mf::编辑框_计划区);
  EXPECT_TRUE(plan.starts_with(GBK("041期:"))) << text::gbkToUtf8(plan);
  EXPECT_EQ(w.planFile(), plan);
}

// Closing the window while a retrieval waits ends the process at once with 0
// and the plan file current; the abandoned worker then finishes harmlessly.
TEST(Threads, ClosingTheWindowDuringARetrieval) {
  World w;
  w.start();
  w.m().userSetText(mf::编辑框_计划区, GBK("040期:Pellor|800注|开123 中 底/错/容 3/1/0-1\r\n"));
  ASSERT_TRUE(w.h.ui.runUntilIdle());
  w.portal.setGate(false);
  w.m().userClick(mf::按钮_手动更新);
  ASSERT_TRUE(w.portal.waitForHeld(1));
  w.m().close();
  ASSERT_TRUE(w.h.process.waitForExit(5000));
  EXPECT_EQ(w.h.process.exitCode(), 0);
  EXPECT_EQ(w.planFile(), w.m().text(mf::编辑框_计划区));
  w.portal.setGate(true);
  EXPECT_TRUE(w.h.runUntilIdle(kLimitMs));
}

}  // namespace
}  // namespace zr
