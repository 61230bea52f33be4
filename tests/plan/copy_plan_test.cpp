#include <gtest/gtest.h>

#include <string>

#include "plan/plan.h"
#include "support/headless.h"
#include "text/gbk.h"

namespace zr::plan {
namespace {

TEST(NextPeriodTextTest, Table) {
  struct Case {
    const char* period;
    const char* next;
  } cases[] = {
      {"120", "001"}, {"9", "010"},         {"009", "010"}, {"99", "100"},  {"119", "120"},
      {"050", "051"}, {"0", "001"},         {"", "001"},    {"abc", "001"}, {"999", ""},
      {"121", "122"}, {"20140313-050", ""}, {" 7x", "008"},
  };
  for (const Case& c : cases) EXPECT_EQ(nextPeriodText(c.period), c.next) << c.period;
}

std::string lines(int n, int withSymbol) {
  std::string plan;
  for (int i = 0; i < n; ++i) plan += std::string(i < withSymbol ? GBK("050期:Pellor|1注|开1 中 底/") : "x") + "\r\n";
  return plan;
}

TEST(PlanStatisticsTextTest, Table) {
  struct Case {
    std::string plan;
    std::string symbol;
    const char* want;  // lines, hits, rate
  } cases[] = {
      {lines(10, 7), GBK("中"), "10 7 70"},
      {lines(3, 1), GBK("中"), "3 1 33.3"},
      {lines(3, 2), GBK("中"), "3 2 66.7"},
      {lines(16, 1), GBK("中"), "16 1 6.3"},  // 6.25: the half rounds up
      {lines(8, 1), GBK("中"), "8 1 12.5"},
      {"", GBK("中"), "0 0 0"},
      {lines(3, 3), "", "3 0 0"},
      {"a\r\n\r\nb", "A", "3 1 33.3"},        // empty middle line counts, case ignored
      {GBK("中中中"), GBK("中"), "1 3 300"},  // the symbol counts anywhere
  };
  for (const Case& c : cases) {
    unsigned l = 0, hits = 0;
    char rate[16] = {};
    ASSERT_EQ(std::sscanf(c.want, "%u %u %15s", &l, &hits, rate), 3);
    EXPECT_EQ(planStatisticsText(c.plan, c.symbol), GBK("人工参数搜索：总共") + std::to_string(l) + GBK("期  中奖：") +
                                                        std::to_string(hits) + GBK("期  中奖率：") + rate + "%")
        << c.want;
  }
}

class CopyNumbersAndPlanTest : public ::testing::Test {
 protected:
  CopyNumbersAndPlanTest() {
    installPlan(h.app);
    ui::FormModel& f = h.main();
    f.setText(mf::标签_最新一期期号, "120");
    f.setText(mf::编辑框_外号, "Pellor");
    f.setText(mf::编辑框_大底个数, "3");
    f.setText(mf::编辑框_容错_左, "0");
    f.setText(mf::编辑框_容错_右, "1");
    f.setText(mf::编辑框_分隔符, "##");  // the pending line uses "|" whatever the box says
    f.setText(mf::编辑框_中奖符号, GBK("中"));
    f.setText(mf::编辑框_计划区, GBK("119期:Pellor|2注|开123 中 底/\r\n120期:Pellor|2注|开456 挂 底/\r\n"));
    f.setText(mf::编辑框_广告, GBK("广告"));
    f.open();
  }
  std::string copied() {
    h.main().userClick(mf::按钮3);
    h.runUntilIdle();
    return h.clipboard.content();
  }

  testing::Headless h;
};

TEST_F(CopyNumbersAndPlanTest, SeveralNumbersGiveThePendingLine) {
  h.main().setText(mf::编辑框_结果, "123 456 ");
  EXPECT_EQ(copied(), GBK("123 456 \r\n\r\n"
                          "119期:Pellor|2注|开123 中 底/\r\n120期:Pellor|2注|开456 挂 底/\r\n"
                          "\r\n001期:Pellor|2注|未开奖...底/错/容 3/0/0-1\r\n\r\n"
                          "人工参数搜索：总共2期  中奖：1期  中奖率：50%\r\n广告"));
}

TEST_F(CopyNumbersAndPlanTest, OneNumberOrNoneGivesTheWaitingLine) {
  for (const char* result : {"123 ", ""}) {
    h.main().setText(mf::编辑框_结果, result);
    EXPECT_EQ(copied(), std::string(result) + GBK("\r\n\r\n"
                                                  "119期:Pellor|2注|开123 中 底/\r\n120期:Pellor|2注|开456 挂 底/\r\n"
                                                  "001期:等待开奖....\r\n\r\n"
                                                  "人工参数搜索：总共2期  中奖：1期  中奖率：50%\r\n广告"))
        << result;
  }
}

TEST_F(CopyNumbersAndPlanTest, PlanAreaIsLeftAlone) {
  const std::string plan = h.main().text(mf::编辑框_计划区);
  h.main().setText(mf::编辑框_结果, "123 456 ");
  copied();
  EXPECT_EQ(h.main().text(mf::编辑框_计划区), plan);
}

}  // namespace
}  // namespace zr::plan
