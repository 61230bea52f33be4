// Faults of the network and the disk, each checked for three things: nothing
// the user made is lost, the window is left in a clear state (the status
// text says what happened, the buttons work), and the next action succeeds
// once the fault is gone. The table rows carry what the user sees.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "robust/world.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace zr {
namespace {

using testing::Fault;
using testing::World;

const char* const kAllFetched = "温馨提示：<开奖获取完毕!>";
const char* const kNothingFetched = "温馨提示：未获取到开奖,请检查网络或日期!";

std::string gbk(const char* utf8) { return text::utf8ToGbk(utf8); }

// ---- The network: a manual update against a failing portal ----

struct NetCase {
  const char* name;
  Fault yesterday, today;
  int rows;          // rows in the draw list after the update
  const char* sees;  // the notice part afterwards
};

const NetCase kNetCases[] = {
    {"portal down", Fault::Down, Fault::Down, 0, kNothingFetched},
    {"answer after the time-out", Fault::TimedOut, Fault::TimedOut, 0, kNothingFetched},
    {"error status 500", Fault::ErrorStatus, Fault::ErrorStatus, 0, kNothingFetched},
    {"error status 404", Fault::NotFound, Fault::NotFound, 0, kNothingFetched},
    {"truncated page", Fault::Truncated, Fault::Truncated, 0, kNothingFetched},
    {"page without rows", Fault::NoRows, Fault::NoRows, 0, kNothingFetched},
    {"connection closed at once", Fault::ClosedAtOnce, Fault::ClosedAtOnce, 0, kNothingFetched},
    {"huge body after the rows", Fault::Huge, Fault::Huge, 120 + 40, kAllFetched},
    {"huge body inside an open row", Fault::HugeOpenRow, Fault::HugeOpenRow, 0, kNothingFetched},
    {"yesterday failing", Fault::Down, Fault::None, 40, kAllFetched},
    {"today failing", Fault::None, Fault::ErrorStatus, 120, kAllFetched},
};

class NetworkFault : public ::testing::TestWithParam<NetCase> {};

TEST_P(NetworkFault, ManualUpdateLosesNothingAndTheNextOneWorks) {
  const NetCase& c = GetParam();
  World w;
  w.start();
  ASSERT_EQ(w.rows(), 160);
  const std::string plan = gbk("040期:Pellor|800注|开123 中 底/错/容 3/1/0-1\r\n");
  w.m().userSetText(mf::编辑框_计划区, plan);
  ASSERT_TRUE(w.h.runUntilIdle());

  w.portal.setFault(w.yesterday(), c.yesterday);
  w.portal.setFault(w.today, c.today);
  w.click(mf::按钮_手动更新);
  EXPECT_EQ(w.rows(), c.rows);
  EXPECT_EQ(w.notice(), gbk(c.sees)) << text::gbkToUtf8(w.notice());
  EXPECT_TRUE(w.m().enabled(mf::按钮_手动更新));
  if (c.rows > 0) {
    EXPECT_EQ(w.m().text(mf::标签_最新一期期号), w.lastRow(0));
  } else {
    // The labels keep the last draw known.
    EXPECT_EQ(w.m().text(mf::标签_最新一期期号), "040");
  }
  EXPECT_EQ(w.m().text(mf::编辑框_计划区), plan);
  EXPECT_EQ(w.planFile(), plan);

  w.portal.setFaultEverywhere(Fault::None);
  w.click(mf::按钮_手动更新);
  EXPECT_EQ(w.rows(), 160);
  EXPECT_EQ(w.lastRow(0), "040");
  EXPECT_EQ(w.notice(), gbk(kAllFetched));
  EXPECT_TRUE(w.m().enabled(mf::按钮_手动更新));
}

INSTANTIATE_TEST_SUITE_P(Faults, NetworkFault, ::testing::ValuesIn(kNetCases),
                         [](const ::testing::TestParamInfo<NetCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           }
                           return name;
                         });

// The monitor rides out an outage: its check finds nothing, so the list stays
// as it was; once the portal answers again the next tick finds the new draw.
TEST(MonitorFault, AnOutageKeepsTheListAndTheNextTickRecovers) {
  World w;
  w.start();
  w.portal.setFaultEverywhere(Fault::Down);
  w.portal.publish();
  ASSERT_TRUE(w.h.advance(30000));
  EXPECT_EQ(w.notice(), GBK("温馨提醒：[正在判断是否开奖...]"));
  EXPECT_EQ(w.rows(), 160);
  EXPECT_EQ(w.h.sound.playCount(), 0);

  w.portal.setFaultEverywhere(Fault::None);
  ASSERT_TRUE(w.h.advance(30000));
  EXPECT_EQ(w.rows(), 161);
  EXPECT_EQ(w.lastRow(0), "041");
  EXPECT_EQ(w.notice(), GBK("温馨提示：<开奖获取完毕!>"));
  EXPECT_EQ(w.h.sound.playCount(), 1);
}

// A failed manual update empties the list; the monitor then takes the
// portal's first answer for a new draw and refills it.
TEST(MonitorFault, AFailedUpdateIsRefilledByTheNextTick) {
  World w;
  w.start();
  w.portal.setFaultEverywhere(Fault::Down);
  w.click(mf::按钮_手动更新);
  ASSERT_EQ(w.rows(), 0);
  w.portal.setFaultEverywhere(Fault::None);
  ASSERT_TRUE(w.h.advance(30000));
  EXPECT_EQ(w.rows(), 160);
  EXPECT_TRUE(w.m().enabled(mf::按钮_手动更新));
  EXPECT_EQ(w.notice(), GBK("温馨提示：<开奖获取完毕!>"));
}

// A retrieval that fails while a search runs: the retrieval says it found
// nothing, the search goes on until the user stops it, and both work after.
TEST(SearchFault, ARetrievalFailingWhileASearchRuns) {
  World w;
  w.start();
  w.m().setText(mf::编辑框_容对_左, "1");
  w.m().setText(mf::编辑框_容对_右, "3");
  w.m().setText(mf::编辑框_大底个数, "1000");  // far more sets than the test lets it find
  w.m().userClick(mf::按钮_搜索);
  ASSERT_TRUE(w.h.ui.runUntilIdle());
  ASSERT_EQ(w.m().text(mf::按钮_搜索), GBK("停止搜索"));

  const std::size_t requests = w.h.http.requests().size();
  w.portal.setFaultEverywhere(Fault::Down);
  w.m().userClick(mf::按钮_手动更新);
  ASSERT_TRUE(w.h.http.waitForFinished(requests + 2));
  w.m().userClick(mf::按钮_搜索);
  ASSERT_TRUE(w.h.runUntilIdle());
  EXPECT_EQ(w.notice(), gbk(kNothingFetched));
  EXPECT_EQ(w.searchNotice(), GBK("搜索提示：搜索已停止!"));
  EXPECT_EQ(w.m().text(mf::按钮_搜索), GBK("搜索"));
  EXPECT_TRUE(w.m().enabled(mf::按钮_手动更新));

  w.portal.setFaultEverywhere(Fault::None);
  w.click(mf::按钮_手动更新);
  EXPECT_EQ(w.rows(), 160);
  w.m().setText(mf::编辑框_大底个数, "3");
  w.click(mf::按钮_搜索);
  EXPECT_EQ(w.searchNotice(), GBK("搜索提示：[全部任务搜索完毕!]"));
  EXPECT_GE(text::countPieces(w.m().text(mf::编辑框_结果), " "), 800u);
}

}  // namespace
}  // namespace zr
