#include <gtest/gtest.h>

#include <string>

#include "plan/plan.h"
#include "support/headless.h"
#include "text/gbk.h"

namespace zr::plan {
namespace {

// A fixed scene: period 050, a result of 800 numbers holding 123 and 45,
// three base sets asked for in each mode, two of the found last-three sets
// and one of the last-two sets holding the drawn digits.
class PlanLineTest : public ::testing::Test {
 protected:
  PlanLineTest() {
    ui::FormModel& f = h.main();
    f.setText(mf::标签_注数, GBK("注数：800注"));
    f.setText(mf::标签_最新一期期号, "050");
    f.setText(mf::标签_最新一期号码, "12123");
    std::string result;
    for (int i = 0; i < 800; ++i) result += std::to_string(100 + i) + " ";
    f.setText(mf::编辑框_结果, result);
    f.setText(mf::编辑框_大底个数, "3");
    f.setText(mf::编辑框_大底个数1, "3");
    std::lock_guard lock(h.app.state.mutex);
    h.app.state.lastThreeResultText = "-----100 123 456-----123 789-----456";
    h.app.state.lastTwoResultText = "-----23 45-----10 11-----33";
  }
  std::string composed() {
    composePlanLine(h.app);
    return h.main().text(mf::编辑框_计划区);
  }

  testing::Headless h;
};

TEST_F(PlanLineTest, LinesOfEachModeAndSuffix) {
  struct Case {
    const char* name;
    int mode;
    const char* missLeft;
    const char* missRight;
    const char* hitLeft;
    const char* hitRight;
    const char* latest;  // the latest number's caption
    const char* want;    // UTF-8, without the line end
  } cases[] = {
      {"example", mf::单选框_后三, "0", "1", "", "", "12123", "050期:Pellor|800注|开123 中 底/错/容 3/1/0-1"},
      {"no pair", mf::单选框_后三, "", "", "", "", "12123", "050期:Pellor|800注|开123 中 底/"},
      {"half pairs", mf::单选框_后三, "0", "", "", "3", "12123", "050期:Pellor|800注|开123 中 底/"},
      {"hit pair wins", mf::单选框_后三, "0", "1", "2", "3", "12123", "050期:Pellor|800注|开123 中 底/对/容 3/2/2-3"},
      {"miss", mf::单选框_后三, "0", "1", "", "", "00999", "050期:Pellor|800注|开999 挂 底/错/容 3/3/0-1"},
      {"blank counts as filled", mf::单选框_后三, " ", " ", "", "", "12123",
       "050期:Pellor|800注|开123 中 底/错/容 3/1/ - "},
      {"empty latest", mf::单选框_后三, "0", "1", "", "", "", "050期:Pellor|800注|开 中 底/错/容 3/3/0-1"},
      {"short latest", mf::单选框_后三, "0", "1", "", "", "45", "050期:Pellor|800注|开45 中 底/错/容 3/1/0-1"},
      {"joint", mf::单选框_拼接, "0", "1", "2", "3", "12123", "050期:Pellor|800注|开123 中 后二,后三拼接版"},
      {"joint miss", mf::单选框_拼接, "", "", "", "", "00999", "050期:Pellor|800注|开999 挂 后二,后三拼接版"},
      {"last two", mf::单选框_后二, "0", "1", "", "", "12345", "050期:Pellor|800注|开45 中 底/错/容 3/2/0-1"},
      {"last two hit pair", mf::单选框_后二, "", "", "1", "2", "12345", "050期:Pellor|800注|开45 中 底/对/容 3/1/1-2"},
  };
  for (const Case& c : cases) {
    const bool lastTwo = c.mode == mf::单选框_后二;
    ui::FormModel& f = h.main();
    f.setChecked(c.mode, true);
    f.setText(lastTwo ? mf::编辑框_容错_左1 : mf::编辑框_容错_左, c.missLeft);
    f.setText(lastTwo ? mf::编辑框_容错_右1 : mf::编辑框_容错_右, c.missRight);
    f.setText(lastTwo ? mf::编辑框_容对_左1 : mf::编辑框_容对_左, c.hitLeft);
    f.setText(lastTwo ? mf::编辑框_容对_右1 : mf::编辑框_容对_右, c.hitRight);
    // The other group's boxes must not matter.
    for (int box : {mf::编辑框_容错_左, mf::编辑框_容错_右, mf::编辑框_容对_左, mf::编辑框_容对_右}) {
      if (lastTwo) f.setText(box, "9");
    }
    f.setText(mf::标签_最新一期号码, c.latest);
    f.setText(mf::编辑框_计划区, "");
    EXPECT_EQ(text::gbkToUtf8(composed()), std::string(c.want) + "\r\n") << c.name;
  }
}

TEST_F(PlanLineTest, FewerSetsFoundThanAskedCountAsMisses) {
  h.main().setText(mf::编辑框_容错_左, "0");
  h.main().setText(mf::编辑框_容错_右, "1");
  h.main().setText(mf::编辑框_大底个数, "5");
  {
    std::lock_guard lock(h.app.state.mutex);
    h.app.state.lastThreeResultText = "";  // fewer than two sets found
  }
  EXPECT_EQ(composed(), GBK("050期:Pellor|800注|开123 中 底/错/容 5/5/0-1\r\n"));
  h.main().setText(mf::编辑框_计划区, "");
  h.main().setText(mf::编辑框_大底个数, "abc");
  EXPECT_EQ(composed(), GBK("050期:Pellor|800注|开123 中 底/错/容 abc/0/0-1\r\n"));
}

TEST_F(PlanLineTest, SeparatorAndNicknameAreCopiedAsTyped) {
  h.main().setText(mf::编辑框_分隔符, "");
  EXPECT_EQ(composed(), GBK("050期:Pellor800注开123 中 底/\r\n"));
  h.main().setText(mf::编辑框_计划区, "");
  h.main().setText(mf::编辑框_分隔符, "##");
  h.main().setText(mf::编辑框_外号, GBK("老王"));
  EXPECT_EQ(composed(), GBK("050期:老王##800注##开123 中 底/\r\n"));
}

TEST_F(PlanLineTest, AppendsToTheAreaAsItStands) {
  h.main().setText(mf::编辑框_计划区, "typed");
  EXPECT_EQ(composed(), GBK("typed050期:Pellor|800注|开123 中 底/\r\n"));
  EXPECT_EQ(composed(), GBK("typed050期:Pellor|800注|开123 中 底/\r\n050期:Pellor|800注|开123 中 底/\r\n"));
}

TEST_F(PlanLineTest, NothingWithoutACountOrAMode) {
  h.main().setText(mf::编辑框_计划区, "keep");
  h.main().setText(mf::标签_注数, GBK("注数："));
  EXPECT_EQ(composed(), "keep");
  h.main().setText(mf::标签_注数, GBK("注数：800注"));
  for (int radio : {mf::单选框_后三, mf::单选框_后二, mf::单选框_拼接}) h.main().setChecked(radio, false);
  EXPECT_EQ(composed(), "keep");
}

}  // namespace
}  // namespace zr::plan
