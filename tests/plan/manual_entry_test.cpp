#include <gtest/gtest.h>

#include <string>

#include "plan/plan.h"
#include "support/headless.h"
#include "text/gbk.h"

namespace zr::plan {
namespace {

class ManualEntryTest : public ::testing::Test {
 protected:
  ManualEntryTest() {
    installPlan(h.app);
    ui::FormModel& f = h.main();
    f.setText(mf::标签_注数, GBK("注数：2注"));
    f.setText(mf::编辑框_结果, "345 045 ");
    f.appendRow(mf::超级列表框1);
    f.setCell(mf::超级列表框1, 0, 0, "040");
    f.setCell(mf::超级列表框1, 0, 1, "999");
    f.open();
  }
  void add(const std::string& period, const std::string& number) {
    h.main().setText(mf::编辑框_手动期号, period);
    h.main().setText(mf::编辑框_手动奖号, number);
    h.main().userClick(mf::按钮1);
    h.runUntilIdle();
  }

  testing::Headless h;
};

TEST_F(ManualEntryTest, TypedDrawBecomesTheLatestAndIsPlanned) {
  struct Case {
    const char* period;
    const char* number;
    const char* line;  // UTF-8
  } cases[] = {
      {"041", "345", "041期:Pellor|2注|开345 中 底/\r\n"},
      {"042", "12345", "042期:Pellor|2注|开345 中 底/\r\n"},
      {"", "", "期:Pellor|2注|开 中 底/\r\n"},
      {"043", "678", "043期:Pellor|2注|开678 挂 底/\r\n"},
  };
  ui::FormModel& f = h.main();
  for (const Case& c : cases) {
    const int rows = f.rowCount(mf::超级列表框1);
    f.setText(mf::编辑框_计划区, "");
    add(c.period, c.number);
    ASSERT_EQ(f.rowCount(mf::超级列表框1), rows + 1);
    EXPECT_EQ(f.cell(mf::超级列表框1, rows, 0), c.period);
    EXPECT_EQ(f.cell(mf::超级列表框1, rows, 1), c.number);  // kept as typed, not cut
    EXPECT_EQ(f.text(mf::标签_最新一期期号), c.period);
    EXPECT_EQ(f.text(mf::标签_最新一期号码), c.number);
    EXPECT_EQ(text::gbkToUtf8(f.text(mf::编辑框_计划区)), c.line) << c.period;
    EXPECT_EQ(f.text(mf::编辑框_手动期号), c.period);  // the boxes keep their texts
  }
}

TEST_F(ManualEntryTest, SameDrawTwiceAddsTwoRows) {
  add("041", "345");
  add("041", "345");
  ui::FormModel& f = h.main();
  ASSERT_EQ(f.rowCount(mf::超级列表框1), 3);
  EXPECT_EQ(f.cell(mf::超级列表框1, 1, 0), f.cell(mf::超级列表框1, 2, 0));
  EXPECT_EQ(f.cell(mf::超级列表框1, 1, 1), f.cell(mf::超级列表框1, 2, 1));
  EXPECT_EQ(f.text(mf::编辑框_计划区), GBK("041期:Pellor|2注|开345 中 底/\r\n041期:Pellor|2注|开345 中 底/\r\n"));
  EXPECT_EQ(f.visibleRow(mf::超级列表框1), -1);  // not scrolled
}

}  // namespace
}  // namespace zr::plan
