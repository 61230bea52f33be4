// Marks, measures, check groups and the verdict; and the search's own
// evaluation by membership, checked against the text search it stands for.
#include <gtest/gtest.h>

#include "form_fixture.h"
#include "search/attempt_inputs.h"
#include "search/base_set.h"
#include "search/evaluation.h"

namespace zr::search {
namespace {

std::vector<std::uint8_t> marksOf(const std::string& pattern) {  // 'h' hit, 'm' miss, newest first
  std::vector<std::uint8_t> marks;
  for (char c : pattern) marks.push_back(c == 'h');
  return marks;
}

TEST(MeasureTest, Table) {
  struct Case {
    const char* marks;
    Measures expected;  // hit, miss, current hit, current miss, longest hit, longest miss
  } cases[] = {
      {"mhhm", {2, 2, 0, 1, 2, 1}},   {"hhh", {3, 0, 3, 0, 3, 0}}, {"h", {1, 0, 1, 0, 1, 0}},
      {"", {0, 0, 0, 0, 1, 1}},       {"mmm", {0, 3, 0, 3, 0, 3}}, {"hmmhhhm", {4, 3, 1, 0, 3, 2}},
      {"mmhmmm", {1, 5, 0, 2, 1, 3}},
  };
  for (const Case& c : cases) {
    const auto marks = marksOf(c.marks);
    const Measures m = measure(marks.data(), marks.size());
    const Measures& e = c.expected;
    EXPECT_EQ(m.hitCount, e.hitCount) << c.marks;
    EXPECT_EQ(m.missCount, e.missCount) << c.marks;
    EXPECT_EQ(m.currentHitRun, e.currentHitRun) << c.marks;
    EXPECT_EQ(m.currentMissRun, e.currentMissRun) << c.marks;
    EXPECT_EQ(m.longestHitRun, e.longestHitRun) << c.marks;
    EXPECT_EQ(m.longestMissRun, e.longestMissRun) << c.marks;
  }
}

LimitBox box(const char* text) { return text ? LimitBox{true, std::atoi(text)} : LimitBox{}; }

TEST(CheckGroupTest, Table) {
  struct Case {
    const char *aLeft, *aRight, *bLeft, *bRight;  // null: empty box
    int hits, misses;
    Outcome expected;
  } cases[] = {
      {"3", "5", nullptr, nullptr, 3, 0, Outcome::Pass},
      {"3", "5", nullptr, nullptr, 5, 0, Outcome::Pass},
      {"3", "5", nullptr, nullptr, 2, 0, Outcome::Fail},
      {"3", "5", nullptr, nullptr, 6, 0, Outcome::Fail},
      {nullptr, nullptr, "2", "2", 9, 2, Outcome::Pass},
      {nullptr, nullptr, "2", "2", 2, 3, Outcome::Fail},
      {"5", "3", nullptr, nullptr, 4, 0, Outcome::Fail},  // left above right never passes
      {nullptr, nullptr, nullptr, nullptr, 0, 0, Outcome::Unset},
      {"2", nullptr, nullptr, nullptr, 2, 0, Outcome::Conflict},
      {nullptr, nullptr, nullptr, "2", 0, 2, Outcome::Conflict},
      {"1", "2", "1", "2", 1, 1, Outcome::Conflict},
      {"1", "2", "1", nullptr, 1, 1, Outcome::Conflict},
  };
  for (const Case& c : cases) {
    const GroupLimits g{{box(c.aLeft), box(c.aRight)}, {box(c.bLeft), box(c.bRight)}};
    EXPECT_EQ(checkGroup(g, c.hits, c.misses), c.expected)
        << (c.aLeft ? c.aLeft : "-") << " " << (c.aRight ? c.aRight : "-") << " " << (c.bLeft ? c.bLeft : "-") << " "
        << (c.bRight ? c.bRight : "-") << " hits " << c.hits;
  }
}

class EvaluationTest : public FormFixture {};

TEST_F(EvaluationTest, LimitBoxes) {
  struct Case {
    const char* text;
    LimitBox expected;
  } cases[] = {{"", {false, 0}}, {" ", {true, 0}}, {"50.", {true, 50}}, {"  -3", {true, -3}}, {"abc", {true, 0}}};
  for (const Case& c : cases) {
    form.setText(mf::编辑框_注数_左1, c.text);
    const LimitBox b = readLimitBox(form, mf::编辑框_注数_左1);
    EXPECT_EQ(b.filled, c.expected.filled) << '"' << c.text << '"';
    EXPECT_EQ(b.number, c.expected.number) << '"' << c.text << '"';
  }
}

TEST_F(EvaluationTest, CountGroupThreeToFive) {
  clearLimits(Mode::LastThree);
  setPair({mf::编辑框_取中奖期_左, mf::编辑框_取中奖期_右}, "3", "5");
  form.setText(mf::编辑框_取开奖期, "10");
  setDraws({"900", "901", "902", "903", "904", "905", "906", "907", "908", "909"});
  struct Case {
    const char* set;
    Verdict expected;
  } cases[] = {
      {"900 901", Verdict::Rejected},
      {"900 901 902", Verdict::Accepted},
      {"000 900 901 902 999", Verdict::Accepted},
      {"900 901 902 903 904", Verdict::Accepted},
      {"900 901 902 903 904 905", Verdict::Rejected},
  };
  for (const Case& c : cases) EXPECT_EQ(evaluateCandidate(form, Mode::LastThree, c.set), c.expected) << c.set;
}

TEST_F(EvaluationTest, VerdictsOfWholeGroups) {
  setDraws({"111", "222", "333"});
  form.setText(mf::编辑框_取开奖期, "3");
  struct Case {
    const char* name;
    std::vector<std::pair<int, const char*>> boxes;
    const char* set;
    Verdict expected;
  } cases[] = {
      {"no limits", {}, "111", Verdict::NoLimits},
      {"only one box of a pair: conflict", {{mf::编辑框_当前连挂_左, "0"}}, "333", Verdict::Rejected},
      {"conflict rejects a set the other groups accept",
       {{mf::编辑框_取中奖期_左, "0"}, {mf::编辑框_取中奖期_右, "3"}, {mf::编辑框_当前连中_左, "1"}},
       "333",
       Verdict::Rejected},
      {"current hit run 1", {{mf::编辑框_当前连中_左, "1"}, {mf::编辑框_当前连中_右, "1"}}, "333", Verdict::Accepted},
      {"longest miss run 2..2 (default limits)",
       {{mf::编辑框_当前连挂_左, "2"},
        {mf::编辑框_当前连挂_右, "2"},
        {mf::编辑框_范围最大连挂_左, "2"},
        {mf::编辑框_范围最大连挂_右, "2"}},
       "111",
       Verdict::Accepted},
      {"default limits, newest hit",
       {{mf::编辑框_当前连挂_左, "2"}, {mf::编辑框_当前连挂_右, "2"}},
       "333",
       Verdict::Rejected},
  };
  for (const Case& c : cases) {
    clearLimits(Mode::LastThree);
    for (auto [ctl, text] : c.boxes) form.setText(ctl, text);
    EXPECT_EQ(evaluateCandidate(form, Mode::LastThree, c.set), c.expected) << c.name;
  }
}

TEST_F(EvaluationTest, DrawWindow) {
  struct Case {
    const char* name;
    std::vector<std::string> rows;
    const char* windowBox;
    Mode mode;
    std::vector<std::string> expected;
  } cases[] = {
      {"newest first", {"123", "456", "789"}, "2", Mode::LastThree, {"789", "456"}},
      {"larger than the list covers the list", {"123", "456"}, "10", Mode::LastThree, {"456", "123"}},
      {"empty box", {"123"}, "", Mode::LastThree, {}},
      {"zero", {"123"}, "0", Mode::LastThree, {}},
      {"negative", {"123"}, "-2", Mode::LastThree, {}},
      {"last two digits", {"345", "7", ""}, "3", Mode::LastTwo, {"", "7", "45"}},
  };
  for (const Case& c : cases) {
    setDraws(c.rows);
    form.setText(settingsOf(c.mode).windowBox, c.windowBox);
    EXPECT_EQ(drawWindow(form, c.mode), c.expected) << c.name;
  }
}

TEST_F(EvaluationTest, MarksOfSpecialDraws) {
  struct Case {
    const char* set;
    std::vector<std::string> window;
    std::vector<std::uint8_t> expected;
  } cases[] = {
      {"", {"123", "000"}, {0, 0}},                         // the empty set misses every draw
      {"017", {""}, {1}},                                   // an empty draw text hits any non-empty set
      {"", {""}, {0}},                                      // ...and misses the empty set
      {"045 450", {"45", "4", "04", "5 4"}, {1, 1, 1, 1}},  // texts of another width: text search
      {"01 45", {"45", "14"}, {1, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(markSequence(c.set, c.window), c.expected) << c.set;
}

TEST_F(EvaluationTest, LastTwoDrawOf345HitsASetWith45) {
  clearLimits(Mode::LastTwo);
  setPair({mf::编辑框_取中奖期_左1, mf::编辑框_取中奖期_右1}, "1", "1");
  form.setText(mf::编辑框_取开奖期1, "1");
  setDraws({"345"});
  EXPECT_EQ(evaluateCandidate(form, Mode::LastTwo, "07 45"), Verdict::Accepted);
  EXPECT_EQ(evaluateCandidate(form, Mode::LastTwo, "07 34"), Verdict::Rejected);
}

// The search judges draws by membership; on every kind of draw text and every
// limit it must give the verdict of the text search over the set's text.
TEST_F(EvaluationTest, MembershipGivesTheVerdictOfTheTextSearch) {
  const std::vector<std::string> odd = {"", "4", "45", "中", "1234", "45a", "5 0", "A12", "999", "00"};
  Random pick{2024};
  for (Mode mode : {Mode::LastThree, Mode::LastTwo}) {
    const ModeSettings& s = settingsOf(mode);
    for (int round = 0; round < 25; ++round) {
      std::vector<std::string> rows;
      for (int i = 0; i < 12; ++i) {
        rows.push_back(pick.next() % 3 == 0 ? odd[static_cast<std::size_t>(pick.next()) % odd.size()]
                                            : std::to_string(100 + pick.next() % 900));
      }
      setDraws(rows);
      form.setText(s.windowBox, std::to_string(pick.next() % 14));
      clearLimits(mode);
      const CheckGroupBoxes& g = s.groups[static_cast<std::size_t>(pick.next() % 3)];
      const BoxPair pair = pick.next() % 2 ? g.hits : g.misses;
      const int lo = pick.next() % 5;
      setPair(pair, std::to_string(lo), std::to_string(lo + pick.next() % 6));

      AttemptInputs inputs(mode);
      inputs.refresh(form);
      for (int k = 0; k < 20; ++k) {
        BaseSet set;
        drawPicks(pick, s.universe, s.width, pick.next() % (s.universe + 1), set);
        ASSERT_EQ(inputs.evaluate(set), evaluateCandidate(form, mode, set.text())) << "round " << round;
      }
    }
  }
}

TEST_F(EvaluationTest, InputsFollowEditsButNotOwnStatusWrites) {
  clearLimits(Mode::LastThree);
  setDraws({"111"});
  form.setText(mf::编辑框_取开奖期, "1");
  setPair({mf::编辑框_取中奖期_左, mf::编辑框_取中奖期_右}, "1", "1");
  BaseSet hit;
  hit.universe = 1000;
  hit.width = 3;
  hit.size = 1;
  hit.member[111] = 1;

  AttemptInputs inputs(Mode::LastThree);
  inputs.refresh(form);
  ASSERT_EQ(inputs.evaluate(hit), Verdict::Accepted);

  // An edit made between two attempts counts from the next one.
  form.setText(mf::编辑框_取中奖期_左, "2");
  inputs.refresh(form);
  EXPECT_EQ(inputs.evaluate(hit), Verdict::Rejected);

  // The search's own status write keeps what was read...
  std::uint64_t before = form.revision();
  form.setStatus(0, "x");
  inputs.ownWrite(before, form.revision());
  form.setText(mf::编辑框_取中奖期_左, "1");
  // ...but an edit made just before it is not lost.
  before = form.revision();
  form.setStatus(0, "y");
  inputs.ownWrite(before, form.revision());
  inputs.refresh(form);
  EXPECT_EQ(inputs.evaluate(hit), Verdict::Accepted);
}

}  // namespace
}  // namespace zr::search
