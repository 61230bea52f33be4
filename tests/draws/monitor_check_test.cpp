// The draw monitor's check and its refresh after a new draw, headless against
// the test portal: what counts as a new draw and what a new draw sets off.
#include <gtest/gtest.h>

#include <vector>

#include "monitor_world.h"
#include "resources/resources.h"

namespace zr::testing {
namespace {

const std::string kYesterday = "2014-03-12", kToday = "2014-03-13";
const std::vector<Row> kYesterdayDraws = {{"20140312-119", "50811"}, {"20140312-120", "73402"}};
const std::vector<Row> kTodayDraws = {{"20140313-001", "11223"}, {"20140313-002", "90876"}};

std::vector<Row> concat(std::vector<Row> a, const std::vector<Row>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<Row> asListed(std::vector<Row> rows) {
  for (Row& r : rows)
    if (r.number.size() > 3) r.number = r.number.substr(r.number.size() - 3);
  return rows;
}

// The portal and the draw list agree on the newest draw: the check says so and
// changes nothing but the date range.
struct NoNewDrawCase {
  const char* name;
  std::vector<Row> yesterday, today;  // on the portal
  std::vector<Row> list;              // in the draw list before the check
};

TEST(MonitorCheck, SameNewestDrawChangesOnlyTheDateRange) {
  const NoNewDrawCase cases[] = {
      {"both days published", kYesterdayDraws, kTodayDraws, concat(kYesterdayDraws, kTodayDraws)},
      {"just after midnight", kYesterdayDraws, {}, kYesterdayDraws},
      {"a number shorter than three", {{"20140312-120", "12"}}, {}, {{"20140312-120", "12"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MonitorWorld w;
    w.publish(kYesterday, c.yesterday);
    w.publish(kToday, c.today);
    w.fillList(c.list);
    w.form().setText(mf::编辑框_日期_左, "2014-01-01");
    w.form().setText(mf::编辑框_日期_右, "2014-01-02");
    w.form().setText(mf::标签_最新一期期号, "P");
    w.form().setText(mf::标签_最新一期号码, "N");
    w.form().setText(mf::编辑框_计划区, "plan");

    ASSERT_TRUE(w.pollOnce());
    EXPECT_EQ(w.notice(), GBK("温馨提示：[尚未开奖...]"));
    EXPECT_EQ(w.form().text(mf::编辑框_日期_左), kYesterday);
    EXPECT_EQ(w.form().text(mf::编辑框_日期_右), kToday);
    EXPECT_EQ(w.portal.daysAsked(), (std::vector<std::string>{kYesterday, kToday}));
    EXPECT_EQ(w.listRows(), asListed(c.list));
    EXPECT_EQ(w.form().text(mf::标签_最新一期期号), "P");
    EXPECT_EQ(w.form().text(mf::标签_最新一期号码), "N");
    EXPECT_EQ(w.form().text(mf::编辑框_计划区), "plan");
    EXPECT_EQ(w.h.sound.playCount(), 0);
    EXPECT_EQ(w.windowsShown(), 0);
    EXPECT_EQ(w.slot(&shell::SharedState::retrievalWorkerHandle).handle, 0u);
  }
}

// Any difference of the keys is a new draw; the refresh then replaces the list
// with the portal's draws, so a typed row disappears.
TEST(MonitorCheck, AnyDifferenceIsANewDraw) {
  const struct {
    const char* name;
    std::vector<Row> list;
    const char* typedLastNumber;  // manual entry keeps the number as typed
  } cases[] = {
      {"empty list", {}, nullptr},
      {"a later period", kYesterdayDraws, nullptr},
      {"a typed last row", concat(kYesterdayDraws, kTodayDraws), "90876"},
      {"the same period with another number", concat(kYesterdayDraws, {{"20140313-002", "12999"}}), nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MonitorWorld w;
    w.publish(kYesterday, kYesterdayDraws);
    w.publish(kToday, kTodayDraws);
    w.fillList(c.list);
    if (c.typedLastNumber)
      w.form().setCell(mf::超级列表框1, w.form().rowCount(mf::超级列表框1) - 1, 1, c.typedLastNumber);

    ASSERT_TRUE(w.pollOnce());
    EXPECT_EQ(w.listRows(), asListed(concat(kYesterdayDraws, kTodayDraws)));
    EXPECT_EQ(w.windowsShown(), 1);
    EXPECT_EQ(w.h.sound.playCount(), 1);
    EXPECT_EQ(w.portal.daysAsked(), (std::vector<std::string>{kYesterday, kToday, kYesterday, kToday}));
  }
}

TEST(MonitorCheck, NoDrawFetchedLeavesEverythingAsItWas) {
  MonitorWorld w;
  w.fillList(kYesterdayDraws);
  ASSERT_TRUE(w.pollOnce());
  EXPECT_EQ(w.notice(), GBK("温馨提醒：[正在判断是否开奖...]"));
  EXPECT_EQ(w.listRows(), asListed(kYesterdayDraws));
  EXPECT_EQ(w.windowsShown(), 0);
  EXPECT_EQ(w.portal.daysAsked().size(), 2u);
  EXPECT_TRUE(w.slot(&shell::SharedState::monitorWorkerHandle).closed);
}

// What a new draw sets off, for each setting of 声音 and 自动更新计划.
TEST(MonitorRefresh, NewDrawActionsFollowTheCheckBoxes) {
  const struct { bool sound, plan; } cases[] = {{true, true}, {true, false}, {false, true}, {false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "sound " << c.sound << ", plan " << c.plan);
    MonitorWorld w;
    w.publish(kYesterday, kYesterdayDraws);
    w.publish(kToday, kTodayDraws);
    w.fillList(concat(kYesterdayDraws, {kTodayDraws[0]}));
    w.form().setChecked(mf::选择框_声音, c.sound);
    w.form().setChecked(mf::选择框1, c.plan);
    // A previous search's outcome, for the plan line.
    w.form().setText(mf::标签_注数, GBK("注数：1注"));
    w.form().setText(mf::编辑框_结果, "876 ");
    w.form().setText(mf::编辑框_计划区, "");

    ASSERT_TRUE(w.pollOnce());
    EXPECT_EQ(w.listRows(), asListed(concat(kYesterdayDraws, kTodayDraws)));
    EXPECT_EQ(w.form().visibleRow(mf::超级列表框1), 3);
    EXPECT_EQ(w.form().text(mf::标签_最新一期期号), "20140313-002");
    EXPECT_EQ(w.form().text(mf::标签_最新一期号码), "90876");
    EXPECT_EQ(w.notice(), GBK("温馨提示：<开奖获取完毕!>"));
    EXPECT_TRUE(w.form().enabled(mf::按钮_手动更新));

    ASSERT_EQ(w.h.sound.playCount(), c.sound ? 1 : 0);
    if (c.sound) {
      auto chime = res::chimeWav();
      EXPECT_EQ(w.h.sound.played()[0], std::vector<std::uint8_t>(chime.begin(), chime.end()));
    }

    ASSERT_EQ(w.windowsShown(), 1);
    auto window = w.h.windows.shown()[0].form;
    EXPECT_EQ(window->text(nf::标签_最新一期期号), "20140313-002");
    EXPECT_EQ(window->text(nf::标签_最新一期号码), "90876");
    EXPECT_EQ(w.h.clipboard.content(), GBK("[Quovix] <20140313-002期>-重庆五星开-<90876> [Quovix]"));

    const std::string plan = w.form().text(mf::编辑框_计划区);
    EXPECT_EQ(plan.find("20140313-002") != std::string::npos, c.plan) << plan;
    EXPECT_EQ(w.slot(&shell::SharedState::lastThreeWorkerHandle).handle != 0, c.plan);
  }
}

// The mended failure: a refresh that brings no draw does not leave the button
// disabled under a message of a retrieval in progress; the next tick retries.
TEST(MonitorRefresh, NoDrawRefetchedSaysSoAndTheNextTickRetries) {
  MonitorWorld w;
  w.publish(kYesterday, kYesterdayDraws);
  w.publish(kToday, kTodayDraws);
  w.fillList(kYesterdayDraws);
  w.form().setText(mf::标签_最新一期期号, "P");
  w.portal.failFrom(3);  // the check's two pages answer, the refresh's do not

  ASSERT_TRUE(w.pollOnce());
  EXPECT_EQ(w.notice(), GBK("温馨提示：未获取到开奖,请检查网络或日期!"));
  EXPECT_TRUE(w.form().enabled(mf::按钮_手动更新));
  EXPECT_EQ(w.form().rowCount(mf::超级列表框1), 0);
  EXPECT_EQ(w.form().text(mf::标签_最新一期期号), "P");
  EXPECT_EQ(w.h.sound.playCount(), 0);
  EXPECT_EQ(w.windowsShown(), 0);

  w.portal.failFrom(0);
  ASSERT_TRUE(w.h.advance(30000));
  EXPECT_EQ(w.listRows(), asListed(concat(kYesterdayDraws, kTodayDraws)));
  EXPECT_EQ(w.notice(), GBK("温馨提示：<开奖获取完毕!>"));
  EXPECT_EQ(w.windowsShown(), 1);
}

// A new draw found while a list refresh is still filling the list waits for
// it: the refresh fetches only once that fill has ended, and the list ends
// with the portal's draws, not a mix of both fills.
TEST(MonitorRefresh, WaitsForAListRefreshStillFilling) {
  MonitorWorld w;
  w.publish("2014-03-01", {{"20140301-120", "55555"}});
  w.publish(kYesterday, kYesterdayDraws);
  w.publish(kToday, kTodayDraws);
  w.form().setText(mf::编辑框_日期_左, "2014-03-01");
  w.form().setText(mf::编辑框_日期_右, "2014-03-01");
  w.portal.holdIf([](int, const std::string& day) { return day == "2014-03-01"; });
  w.portal.setProbe([&w] { return w.form().text(mf::标签_最新一期期号); });

  w.form().userClick(mf::按钮_手动更新);
  ASSERT_TRUE(w.portal.waitForAsked(1));
  w.automatic("30");
  ASSERT_TRUE(w.h.ui.advance(30000));  // the check runs beside the held list refresh
  ASSERT_TRUE(w.portal.waitForAsked(3));
  w.portal.open();
  ASSERT_TRUE(w.h.runUntilIdle());

  const auto probed = w.portal.probed();
  ASSERT_EQ(probed.size(), 5u);
  EXPECT_EQ(probed[3], "20140301-120") << "the refresh fetched while the list refresh was filling";
  EXPECT_EQ(probed[4], "20140301-120");
  EXPECT_EQ(w.listRows(), asListed(concat(kYesterdayDraws, kTodayDraws)));
  EXPECT_EQ(w.form().text(mf::标签_最新一期期号), "20140313-002");
  EXPECT_TRUE(w.form().enabled(mf::按钮_手动更新));
}

}  // namespace
}  // namespace zr::testing
