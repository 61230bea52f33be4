// Whole searches through the search button, on the headless program.
#include <gtest/gtest.h>

#include <set>

#include "literal_search.h"
#include "search/evaluation.h"
#include "search/tolerance.h"
#include "search_fixture.h"
#include "text/bytes.h"

namespace zr::search {
namespace {

std::string attemptMessage(long long n) { return GBK("温馨提示：当前搜索第：") + std::to_string(n) + GBK("个文本."); }
std::string progressMessage(int k) { return GBK("搜索提示：当前大底搜索-") + std::to_string(k) + "-个."; }
const std::string& doneMessage() { return GBK("搜索提示：[全部任务搜索完毕!]"); }

std::set<std::string> members(const std::string& text) {
  std::set<std::string> m;
  for (const std::string& x : text::split(text, " "))
    if (!x.empty()) m.insert(x);
  return m;
}

class SearchRunTest : public SearchFixture {};

TEST_F(SearchRunTest, DefaultTextsFindThreeSetsOf800AndLeaveTheResultsEmpty) {
  setTenDraws();
  form().setText(mf::编辑框3, "keep");
  form().setText(mf::编辑框_结果, "old");
  record.clear();
  searchToEnd();

  const auto sets = found(Mode::LastThree);
  ASSERT_EQ(sets.size(), 3u);
  std::string joined;
  for (const std::string& set : sets) {
    EXPECT_EQ(set.size(), 3199u);
    EXPECT_EQ(evaluateCandidate(form(), Mode::LastThree, set), Verdict::Accepted);
    joined += "-----" + set;
  }
  EXPECT_EQ(h.app.state.lastThreeResultText, joined);
  EXPECT_EQ(form().text(mf::编辑框2), "");
  EXPECT_EQ(form().text(mf::编辑框_结果), "");
  EXPECT_EQ(form().text(mf::编辑框3), "keep");
  EXPECT_EQ(form().status(shell::kSearchPart), doneMessage());
  EXPECT_EQ(form().status(shell::kNoticePart), attemptMessage(attempts(Mode::LastThree)));
  EXPECT_EQ(record.of(kSearchKey),
            (std::vector<std::string>{progressMessage(1), progressMessage(2), progressMessage(3), doneMessage()}));
  // 编辑框_结果 is emptied first, the mode's own box written before the final result.
  const auto writes = record.writes();
  std::vector<int> boxes;
  for (const auto& w : writes)
    if (w.ctl == mf::编辑框_结果 || w.ctl == mf::编辑框2) boxes.push_back(w.ctl);
  EXPECT_EQ(boxes, (std::vector<int>{mf::编辑框_结果, mf::编辑框2, mf::编辑框_结果}));
}

TEST_F(SearchRunTest, FindsTheSetsOfTheLiteralProcedure) {
  setTenDraws();
  searchToEnd();

  // The same search, attempt by attempt as written, from the same tick count
  // and a fresh offset.
  testing::Headless shadow{{{2014, 3, 13}, 5000}};
  fillDraws(shadow.main(), tenDraws());
  SeedOffset offset{0};
  std::atomic<bool> never{false};
  SearchContext context{shadow.app, offset, never, {}};
  std::vector<std::string> expected;
  std::string text;
  for (int k = 0; k < 3; ++k) {
    while (literal::attempt(context, Mode::LastThree, text) != Verdict::Accepted) {
    }
    expected.push_back(text);
  }
  EXPECT_EQ(found(Mode::LastThree), expected);
  EXPECT_EQ(attempts(Mode::LastThree), shadow.app.state.lastThreeAttemptCount);
}

TEST_F(SearchRunTest, HitToleranceOneToThreeGivesTheUnion) {
  setTenDraws();
  setPair({mf::编辑框_容对_左, mf::编辑框_容对_右}, "1", "3");
  searchToEnd();
  std::set<std::string> all;
  for (const std::string& set : found(Mode::LastThree))
    for (const std::string& x : members(set)) all.insert(x);
  std::string expected;
  for (const std::string& x : all) expected += x + " ";
  EXPECT_EQ(form().text(mf::编辑框_结果), expected);
  EXPECT_EQ(form().text(mf::编辑框2), expected);
}

TEST_F(SearchRunTest, ASingleSetTakesPartInTheToleranceStep) {
  setTenDraws();
  form().setText(mf::编辑框_大底个数, "1");
  setPair({mf::编辑框_容对_左, mf::编辑框_容对_右}, "1", "1");
  searchToEnd();
  const auto sets = found(Mode::LastThree);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(h.app.state.lastThreeResultText, "-----" + sets[0]);
  EXPECT_EQ(form().text(mf::编辑框_结果), sets[0] + " ");
  EXPECT_EQ(form().status(shell::kSearchPart), doneMessage());
}

TEST_F(SearchRunTest, InversionFollowsTheCompletionMessage) {
  setTenDraws();
  form().setText(mf::编辑框_大底个数, "1");
  setPair({mf::编辑框_注数_左, mf::编辑框_注数_右}, "200", "200");
  setPair({mf::编辑框_容对_左, mf::编辑框_容对_右}, "1", "1");
  form().setChecked(mf::选择框2, true);
  searchToEnd();
  const std::string result = form().text(mf::编辑框2);
  EXPECT_EQ(text::countPieces(result, " "), 200u);
  EXPECT_EQ(form().text(mf::编辑框_结果), complementText(result));
  EXPECT_EQ(text::countPieces(form().text(mf::编辑框_结果), " "), 800u);
  const auto messages = record.of(kSearchKey);
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2], doneMessage());
  EXPECT_EQ(messages.back(), GBK("搜索提示：已经将文本反转!"));
}

TEST_F(SearchRunTest, SizeBoundsInEitherOrder) {
  setTenDraws();
  clearLimits(Mode::LastThree);
  setPair({mf::编辑框_取中奖期_左, mf::编辑框_取中奖期_右}, "0", "10");  // every set passes
  setPair({mf::编辑框_注数_左, mf::编辑框_注数_右}, "900", "700");
  form().setText(mf::编辑框_大底个数, "12");
  searchToEnd();
  std::set<std::size_t> sizes;
  for (const std::string& set : found(Mode::LastThree)) sizes.insert(members(set).size());
  ASSERT_FALSE(sizes.empty());
  EXPECT_GE(*sizes.begin(), 700u);
  EXPECT_LE(*sizes.rbegin(), 900u);
  EXPECT_GT(sizes.size(), 1u);
}

TEST_F(SearchRunTest, AttemptCountersRestartWithEverySearch) {
  setTenDraws();
  clearLimits(Mode::LastThree);  // no limits: one attempt per base set, no set found
  for (int run = 0; run < 2; ++run) {
    record.clear();
    searchToEnd();
    EXPECT_EQ(record.of(kNoticeKey),
              (std::vector<std::string>{attemptMessage(1), attemptMessage(2), attemptMessage(3)}));
    EXPECT_EQ(record.of(kSearchKey),
              (std::vector<std::string>{progressMessage(0), progressMessage(0), progressMessage(0), doneMessage()}));
  }
  form().setText(mf::编辑框_大底个数1, "2");
  clearLimits(Mode::LastTwo);
  click(mf::单选框_后二);
  record.clear();
  searchToEnd();
  EXPECT_EQ(record.of(kNoticeKey), (std::vector<std::string>{attemptMessage(1), attemptMessage(2)}));
  EXPECT_EQ(attempts(Mode::LastThree), 3);
}

TEST_F(SearchRunTest, LastTwoSearch) {
  setTenDraws();
  form().setText(mf::编辑框_大底个数1, "2");
  setPair({mf::编辑框_容对_左1, mf::编辑框_容对_右1}, "1", "2");
  form().setChecked(mf::选择框2, true);  // no inversion in last-two mode
  form().setText(mf::编辑框2, "keep");
  click(mf::单选框_后二);
  searchToEnd();
  const auto sets = found(Mode::LastTwo);
  ASSERT_EQ(sets.size(), 2u);
  for (const std::string& set : sets) {
    EXPECT_EQ(set.size(), 149u);  // "50." reads as 50
    EXPECT_EQ(evaluateCandidate(form(), Mode::LastTwo, set), Verdict::Accepted);
  }
  EXPECT_FALSE(form().text(mf::编辑框3).empty());
  EXPECT_EQ(form().text(mf::编辑框_结果), form().text(mf::编辑框3));
  EXPECT_EQ(form().text(mf::编辑框2), "keep");
  EXPECT_EQ(form().status(shell::kSearchPart), doneMessage());
}

TEST_F(SearchRunTest, JointSearchKeepsTheNumbersBothAccept) {
  setTenDraws();
  setPair({mf::编辑框_容对_左, mf::编辑框_容对_右}, "2", "3");
  form().setText(mf::编辑框_大底个数1, "2");
  setPair({mf::编辑框_容对_左1, mf::编辑框_容对_右1}, "2", "2");
  click(mf::单选框_拼接);
  searchToEnd();
  const std::string lastThree = form().text(mf::编辑框2), lastTwo = form().text(mf::编辑框3);
  EXPECT_FALSE(lastThree.empty());
  EXPECT_FALSE(lastTwo.empty());
  EXPECT_EQ(h.app.state.jointResults, (std::vector<std::string>{lastThree, expandToThreeDigits(lastTwo)}));
  const std::string joint = form().text(mf::编辑框_结果);
  EXPECT_EQ(joint, jointNumbers(lastThree, expandToThreeDigits(lastTwo)));
  const auto three = members(lastThree), two = members(lastTwo);
  for (const std::string& x : members(joint)) {
    EXPECT_TRUE(three.count(x)) << x;
    EXPECT_TRUE(two.count(x.substr(1))) << x;
  }
  // 编辑框2, then 编辑框3, then the joint numbers last.
  std::vector<int> order;
  for (const auto& w : record.writes())
    if ((w.ctl == mf::编辑框2 || w.ctl == mf::编辑框3 || w.ctl == mf::编辑框_结果) && !w.text.empty())
      order.push_back(w.ctl);
  EXPECT_EQ(order, (std::vector<int>{mf::编辑框2, mf::编辑框3, mf::编辑框_结果}));
}

TEST_F(SearchRunTest, SearchesThatCouldNeverFinishAreRefused) {
  struct Case {
    const char* name;
    int radio;
    std::vector<std::pair<int, const char*>> boxes;
    std::string message;
  } cases[] = {
      {"a group in conflict",
       mf::单选框_后三,
       {{mf::编辑框_当前连中_左, "1"}},
       GBK("搜索提示：条件冲突,请只填写二选一中的一组!")},
      {"set size above 1000", mf::单选框_后三, {{mf::编辑框_注数_右, "1001"}}, GBK("搜索提示：注数超出范围!")},
      {"last-two set size above 100",
       mf::单选框_后二,
       {{mf::编辑框_大底个数1, "1"}, {mf::编辑框_注数_左1, "101"}},
       GBK("搜索提示：注数超出范围!")},
      {"joint, last-two in conflict",
       mf::单选框_拼接,
       {{mf::编辑框_大底个数1, "1"}, {mf::编辑框_取不中期_右1, "3"}},
       GBK("搜索提示：条件冲突,请只填写二选一中的一组!")},
  };
  setTenDraws();
  for (const Case& c : cases) {
    testing::Headless fresh{{{2014, 3, 13}, 5000}};
    installSearch(fresh.app);
    ui::FormModel& f = fresh.main();
    f.setText(mf::编辑框_结果, "keep");
    fresh.app.state.foundLastThreeSets = {"001"};
    for (auto [ctl, text] : c.boxes) f.setText(ctl, text);
    f.userClick(c.radio);
    f.userClick(mf::按钮_搜索);
    fresh.runUntilIdle();
    EXPECT_EQ(f.status(shell::kSearchPart), c.message) << c.name;
    EXPECT_EQ(f.status(shell::kNoticePart), GBK("温馨提示：")) << c.name;
    EXPECT_EQ(f.text(mf::编辑框_结果), "keep") << c.name;
    EXPECT_EQ(fresh.app.state.foundLastThreeSets, std::vector<std::string>{"001"}) << c.name;
    EXPECT_EQ(f.text(mf::按钮_搜索), GBK("搜索")) << c.name;
  }
}

TEST_F(SearchRunTest, AClickStopsTheRunningSearch) {
  setTenDraws();
  setImpossible(Mode::LastThree);
  form().setText(mf::编辑框2, "keep");
  click(mf::按钮_搜索);
  ASSERT_TRUE(waitRunning(Mode::LastThree));
  click(mf::按钮_搜索);
  h.runUntilIdle();
  EXPECT_EQ(form().status(shell::kSearchPart), GBK("搜索提示：搜索已停止!"));
  EXPECT_EQ(form().text(mf::按钮_搜索), GBK("搜索"));
  EXPECT_EQ(form().text(mf::编辑框2), "keep");
  // The notice part shows the attempt the search stopped at.
  EXPECT_EQ(form().status(shell::kNoticePart), attemptMessage(attempts(Mode::LastThree)));
}

TEST_F(SearchRunTest, AnEditTakesEffectWhileTheSearchRuns) {
  setTenDraws();
  setImpossible(Mode::LastThree);
  click(mf::按钮_搜索);
  ASSERT_TRUE(waitRunning(Mode::LastThree));
  form().userSetText(mf::编辑框_取中奖期_左, "0");  // 0 to 11 hits: every set passes
  h.runUntilIdle();
  EXPECT_EQ(found(Mode::LastThree).size(), 3u);
  EXPECT_EQ(form().status(shell::kSearchPart), doneMessage());
}

TEST_F(SearchRunTest, AnEditThatPutsAGroupInConflictEndsTheSearch) {
  setTenDraws();
  setImpossible(Mode::LastThree);
  form().setText(mf::编辑框2, "keep");
  click(mf::按钮_搜索);
  ASSERT_TRUE(waitRunning(Mode::LastThree));
  form().userSetText(mf::编辑框_取不中期_左, "1");
  h.runUntilIdle();
  EXPECT_EQ(form().status(shell::kSearchPart), GBK("搜索提示：条件冲突,请只填写二选一中的一组!"));
  EXPECT_EQ(form().text(mf::编辑框2), "keep");
  EXPECT_EQ(form().text(mf::按钮_搜索), GBK("搜索"));
}

TEST_F(SearchRunTest, ASecondStartEndsTheSearchOfTheSameMode) {
  setTenDraws();
  setImpossible(Mode::LastThree);
  click(mf::按钮_搜索);
  ASSERT_TRUE(waitRunning(Mode::LastThree));
  record.clear();
  startSearch(h.app);  // as the draw monitor does after a new draw
  // The first search ends, then the second starts counting from 1.
  ASSERT_TRUE(waitFor([&] {
    const auto notices = record.of(kNoticeKey);
    return h.app.workers.running() == 1 && std::count(notices.begin(), notices.end(), attemptMessage(2)) == 1;
  }));
  const auto notices = record.of(kNoticeKey);
  const auto stopped = record.of(kSearchKey);
  ASSERT_FALSE(stopped.empty());
  EXPECT_EQ(stopped.front(), GBK("搜索提示：搜索已停止!"));
  const auto first = std::find(notices.begin(), notices.end(), attemptMessage(1));
  ASSERT_NE(first, notices.end());
  // Nothing of the first search is written after the second one began.
  long long n = 0;
  for (auto it = first; it != notices.end(); ++it) EXPECT_EQ(*it, attemptMessage(++n));
  EXPECT_EQ(form().text(mf::按钮_搜索), GBK("停止搜索"));
  click(mf::按钮_搜索);
  h.runUntilIdle();
  EXPECT_EQ(form().text(mf::按钮_搜索), GBK("搜索"));
}

TEST_F(SearchRunTest, AJointStartEndsARunningLastThreeSearch) {
  setTenDraws();
  setImpossible(Mode::LastThree);
  click(mf::按钮_搜索);
  ASSERT_TRUE(waitRunning(Mode::LastThree));
  click(mf::单选框_拼接);
  EXPECT_TRUE(waitFor([&] { return form().text(mf::按钮_搜索) == GBK("搜索"); }));
  click(mf::单选框_后三);
  EXPECT_TRUE(waitFor([&] { return form().text(mf::按钮_搜索) == GBK("停止搜索"); }));
  click(mf::单选框_拼接);
  form().setText(mf::编辑框_大底个数1, "1");
  record.clear();
  click(mf::按钮_搜索);
  ASSERT_TRUE(waitFor([&] { return !record.of(kSearchKey).empty(); }));
  form().setText(mf::编辑框_取中奖期_左, "0");  // now the joint search can finish
  h.runUntilIdle();
  const auto messages = record.of(kSearchKey);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.front(), GBK("搜索提示：搜索已停止!"));
  EXPECT_EQ(messages.back(), doneMessage());
  EXPECT_EQ(h.app.state.jointResults.size(), 2u);
}

}  // namespace
}  // namespace zr::search
