// The tolerance step, the complement, the expansion and the joint numbers.
#include <gtest/gtest.h>

#include "search/tolerance.h"
#include "text/bytes.h"

namespace zr::search {
namespace {

PairLimit pair(int left, int right) { return {{true, left}, {true, right}}; }
const PairLimit kEmpty{};

// Three two-digit sets: 01 in all, 02 in two, 03 in one.
const std::string kJoined = "-----01 02 03-----01 02-----01";

TEST(ToleranceTest, Table) {
  struct Case {
    const char* name;
    std::string joined;
    long long asked;
    PairLimit miss, hit;
    std::string expected;
  } cases[] = {
      {"容对 1..3: the union", kJoined, 3, kEmpty, pair(1, 3), "01 02 03 "},
      {"容对 3..3: the intersection", kJoined, 3, kEmpty, pair(3, 3), "01 "},
      {"容错 0..0: the intersection", kJoined, 3, pair(0, 0), kEmpty, "01 "},
      {"容错 0..1: missing from at most one set", kJoined, 3, pair(0, 1), kEmpty, "01 02 "},
      {"both pairs: 容错 list, then 容对 list", kJoined, 3, pair(0, 0), pair(1, 2), "01 02 03 "},
      {"both pairs may list a number twice", kJoined, 3, pair(0, 1), pair(2, 3), "01 02 01 02 "},
      {"neither pair: empty", kJoined, 3, kEmpty, kEmpty, ""},
      {"one box of a pair: not filled", kJoined, 3, kEmpty, {{true, 1}, {false, 0}}, ""},
      {"a single set takes part", "-----07 45", 1, kEmpty, pair(1, 1), "07 45 "},
      {"asked for more than found: the missing sets count as misses", kJoined, 4, pair(1, 1), kEmpty, "01 "},
  };
  for (const Case& c : cases)
    EXPECT_EQ(toleranceResult(c.joined, 100, 2, c.asked, c.miss, c.hit), c.expected) << c.name;
}

TEST(ToleranceTest, NoSetFoundCountsEveryNumberInNoSet) {
  const std::string all = toleranceResult("", 1000, 3, 3, kEmpty, pair(0, 0));
  EXPECT_EQ(text::countPieces(all, " "), 1000u);
  EXPECT_EQ(toleranceResult("", 1000, 3, 3, kEmpty, pair(1, 3)), "");
}

TEST(ComplementTest, Table) {
  std::string twoHundred;
  for (int i = 0; i < 200; ++i) twoHundred += std::to_string(100 + i * 4) + " ";
  struct Case {
    std::string text;
    std::size_t count;
  } cases[] = {{"", 1000}, {twoHundred, 800}, {"007 ", 999}};
  for (const Case& c : cases) {
    const std::string result = complementText(c.text);
    EXPECT_EQ(text::countPieces(result, " "), c.count);
    EXPECT_EQ(result.back(), ' ');
  }
  EXPECT_EQ(complementText("007 ").substr(0, 32), "000 001 002 003 004 005 006 008 ");
}

TEST(ExpandTest, Table) {
  struct Case {
    std::string result, expected;
  } cases[] = {
      {"07 45 ", "007 107 207 307 407 507 607 707 807 907 045 145 245 345 445 545 645 745 845 945 "},
      {"", ""},
      {"45", "045 145 245 345 445 545 645 745 845 945 "},
  };
  for (const Case& c : cases) EXPECT_EQ(expandToThreeDigits(c.result), c.expected) << c.result;
}

TEST(JointNumbersTest, Table) {
  struct Case {
    std::string lastThree, lastTwo, expected;
  } cases[] = {
      {"045 145 245 300 ", expandToThreeDigits("45 "), "045 145 245 "},
      {"", expandToThreeDigits("45 "), ""},
      {"045 145 ", "", ""},
      // A number listed twice in one entry (both tolerance pairs) counts twice.
      {"300 300 ", "", "300 "},
  };
  for (const Case& c : cases) EXPECT_EQ(jointNumbers(c.lastThree, c.lastTwo), c.expected) << c.lastThree;
}

}  // namespace
}  // namespace zr::search
