#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "shell/counters.h"
#include "support/headless.h"
#include "text/gbk.h"

namespace zr::shell {
namespace {

class CountersTest : public ::testing::Test {
 protected:
  CountersTest() {
    installCounters(h.app);
    h.main().open();
  }

  void addRows(int n) {
    for (int i = 0; i < n; ++i) h.main().appendRow(mf::超级列表框1);
  }
  std::optional<std::string> planFile() { return h.files.get(GBK("D:\\计划区.txt")); }
  void typePlan(const std::string& text) {
    h.main().userSetText(mf::编辑框_计划区, text);
    h.runUntilIdle();
  }

  testing::Headless h;
};

std::string numbers(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += std::to_string(100 + i) + " ";
  return s;
}

TEST_F(CountersTest, CounterLabelsFollowTheirBoxes) {
  struct Box {
    int box, label;
    const char* unit;
  } boxes[] = {{mf::编辑框_结果, mf::标签_注数, "注"}, {mf::编辑框2, mf::标签52, ""}, {mf::编辑框3, mf::标签53, ""}};
  struct Case {
    std::string text;
    int count;
  } cases[] = {
      {numbers(800), 800}, {"003 017 245", 3}, {"003 017 245 ", 3}, {"003  017", 3}, {" ", 1}, {"", 0},
      {"003\r\n017", 1},
  };
  for (const Box& b : boxes) {
    for (const Case& c : cases) {
      h.main().setText(b.box, c.text);
      h.runUntilIdle();
      EXPECT_EQ(h.main().text(b.label), GBK("注数：") + std::to_string(c.count) + text::utf8ToGbk(b.unit))
          << "box " << b.box << " text '" << c.text.substr(0, 20) << "'";
    }
  }
}

TEST_F(CountersTest, CopyButtonsPutTheirBoxOnTheClipboard) {
  struct Case {
    int button, box;
  } cases[] = {{mf::按钮_复制号码, mf::编辑框_结果},
               {mf::按钮2, mf::编辑框2},
               {mf::按钮7, mf::编辑框3},
               {mf::按钮4, mf::编辑框_计划区}};
  for (const Case& c : cases) {
    const std::string text = GBK("050期:Pellor|800注|开123 中\r\n") + std::to_string(c.box);
    h.main().setText(c.box, text);
    h.main().userClick(c.button);
    h.runUntilIdle();
    EXPECT_EQ(h.clipboard.content(), text) << c.button;
  }
  // An empty plan area leaves the empty text, not the previous one.
  h.main().setText(mf::编辑框_计划区, "");
  h.main().userClick(mf::按钮4);
  h.runUntilIdle();
  ASSERT_FALSE(h.clipboard.history().empty());
  EXPECT_EQ(h.clipboard.history().back(), "");
}

TEST_F(CountersTest, HeldClipboardLeavesTheCopyUndoneSilently) {
  h.clipboard.setText("before");
  h.clipboard.setHeldByOther(true);
  h.main().setText(mf::编辑框_结果, "123 ");
  h.main().userClick(mf::按钮_复制号码);
  h.runUntilIdle();
  h.clipboard.setHeldByOther(false);
  EXPECT_EQ(h.clipboard.content(), "before");
  EXPECT_EQ(h.main().status(kNoticePart), GBK("温馨提示："));
  EXPECT_TRUE(h.dialogs.messages().empty());
}

TEST_F(CountersTest, DrawWindowLargerThanTheListIsRefused) {
  addRows(20);
  h.main().setText(mf::编辑框_取开奖期, "");
  h.runUntilIdle();
  const std::string shortage = GBK("温馨提示：开奖期数不够,请获取更多开奖![目前共：") + "20" + GBK("期奖号]");
  struct Step {
    const char* typed;
    const char* kept;
    bool refused;
  } steps[] = {{"3", "3", false}, {"30", "", true}, {"20", "20", false}, {"21abc", "", true}, {"abc", "abc", false}};
  for (const Step& s : steps) {
    h.main().setStatus(kNoticePart, "");
    h.main().userSetText(mf::编辑框_取开奖期, s.typed);
    h.runUntilIdle();
    EXPECT_EQ(h.main().text(mf::编辑框_取开奖期), s.kept) << s.typed;
    EXPECT_EQ(h.main().status(kNoticePart), s.refused ? shortage : "") << s.typed;
  }
  // The twin box of the last-two group has no guard.
  h.main().userSetText(mf::编辑框_取开奖期1, "500");
  h.runUntilIdle();
  EXPECT_EQ(h.main().text(mf::编辑框_取开奖期1), "500");
}

TEST_F(CountersTest, PlanFileHoldsTheAreaByteForByte) {
  const std::string gbk = GBK("050期:Pellor|800注|开123 中 底/\r\n051期:Pellor|800注|开456 挂 底/\r\n");
  typePlan(gbk);
  EXPECT_EQ(planFile(), gbk);
  h.advance(kPlanWriteIntervalMs);
  typePlan("");
  h.advance(kPlanWriteIntervalMs);
  EXPECT_EQ(planFile(), "");  // exists, 0 bytes
}

TEST_F(CountersTest, TypingIsGatheredAndTheLastTextAlwaysLands) {
  typePlan("a");
  const int afterFirst = h.files.writeCount();
  EXPECT_EQ(planFile(), "a");
  std::string typed = "a";
  for (char c = 'b'; c <= 'z'; ++c) typePlan(typed += c);
  EXPECT_EQ(h.files.writeCount(), afterFirst);  // within the interval nothing more is written
  h.advance(kPlanWriteIntervalMs);
  EXPECT_EQ(planFile(), typed);
  EXPECT_EQ(h.files.writeCount(), afterFirst + 1);
  // After a quiet interval the next change is written at once.
  h.advance(kPlanWriteIntervalMs);
  typePlan(typed + "!");
  EXPECT_EQ(planFile(), typed + "!");
}

TEST_F(CountersTest, ShutDownWritesPendingText) {
  typePlan("first");
  typePlan("pending");
  EXPECT_EQ(planFile(), "first");
  ASSERT_TRUE(h.app.hooks.beforeExit);
  h.app.hooks.beforeExit();
  EXPECT_EQ(planFile(), "pending");
}

TEST_F(CountersTest, FailedWritesAreReportedOncePerStreak) {
  const std::string failed = GBK("温馨提示：计划区保存失败,请检查D盘!");
  typePlan("old");
  h.advance(kPlanWriteIntervalMs);
  h.files.setWritable(false);
  typePlan("new 1");
  EXPECT_EQ(h.main().status(kNoticePart), failed);
  EXPECT_EQ(planFile(), "old");  // the old file survives a failed write
  h.main().setStatus(kNoticePart, "");
  typePlan("new 2");
  h.advance(kPlanWriteIntervalMs);
  typePlan("new 3");
  h.advance(kPlanWriteIntervalMs);
  EXPECT_EQ(h.main().status(kNoticePart), "");  // not once per keystroke

  h.files.setWritable(true);
  typePlan("new 4");
  h.advance(kPlanWriteIntervalMs);
  EXPECT_EQ(planFile(), "new 4");
  h.files.setWritable(false);
  typePlan("new 5");
  h.advance(kPlanWriteIntervalMs);
  EXPECT_EQ(h.main().status(kNoticePart), failed);  // a new streak
}

TEST_F(CountersTest, TextSetByAWorkerIsSaved) {
  std::thread worker([&] { h.main().setText(mf::编辑框_计划区, "from worker"); });
  worker.join();
  h.runUntilIdle();
  EXPECT_EQ(planFile(), "from worker");
}

}  // namespace
}  // namespace zr::shell
