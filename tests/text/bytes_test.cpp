#include "text/bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "text/gbk.h"

namespace zr::text {
namespace {

struct FindCase {
  std::string text;
  std::string needle;
  int start;
  bool ignoreCase;
  int expected;
};

TEST(FindText, Table) {
  const std::string zhongwen = "\xD6\xD0\xCE\xC4";  // 中文
  const std::vector<FindCase> cases = {
      {"abcabc", "bc", 1, false, 2},
      {"abcabc", "bc", 3, false, 5},
      {"abcabc", "bc", 0, false, 2},  // start below 1 counts as 1
      {"abcabc", "bc", -7, false, 2},
      {"abcabc", "bc", 6, false, -1},  // fewer bytes left than the needle
      {"abcabc", "c", 6, false, 6},
      {"abcabc", "c", 7, false, -1},  // start past the end
      {"abc", "", 1, false, 1},       // empty needle
      {"abc", "", 3, false, 1},
      {"abc", "", 4, false, -1},
      {"", "", 1, false, -1},
      {"", "a", 1, false, -1},
      {"ABC", "bc", 1, false, -1},
      {"ABC", "bc", 1, true, 2},
      {"aBc", "ABC", 1, true, 1},
      {zhongwen, "\xD0\xCE", 1, false, -1},  // would match across a character boundary
      {zhongwen, "\xCE\xC4", 1, false, 3},
      {zhongwen, zhongwen, 1, false, 1},
      {"a" + zhongwen + "b", "b", 1, false, 6},
      // Started inside a character, the scan steps from there.
      {zhongwen, "\xD0", 2, false, 2},
      // The second byte of 0x81 0x41 is 'A' but is not a letter: no folding.
      {"\x81\x41", "\x81\x61", 1, true, -1},
      {"x\x81\x41", "A", 1, true, -1},
      {"\x81\x41"
       "A",
       "a", 1, true, 3},
      {"3 017 018", "017", 1, false, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(findText(c.text, c.needle, c.start, c.ignoreCase), c.expected)
        << "text=" << c.text << " needle=" << c.needle << " start=" << c.start;
  }
}

TEST(FindText, ChineseNeedleAfterMixedText) {
  const std::string text = GBK("期号12中奖");
  EXPECT_EQ(findText(text, GBK("中")), 7);
  EXPECT_EQ(findText(text, "12"), 5);
}

struct CountCase {
  std::string text;
  std::string needle;
  int expected;
};

TEST(CountOccurrences, Table) {
  const std::vector<CountCase> cases = {
      {"111", "11", 2},  // overlapping occurrences count
      {"-----000 017 555-----017 123", "017", 2},
      {"-----000 001-----017", "017", 1},
      {"000 001", "017", 0},
      {"abc", "", 0},
      {"", "a", 0},
      {"aAa", "a", 3},  // case ignored
      {GBK("中中|中"), GBK("中"), 3},
      {GBK("中 中 中 "), GBK("中"), 3},
      {"\xD6\xD0\xCE\xC4", "\xD0\xCE", 0},  // never counted across a boundary
      {"\x81\x41"
       "a",
       "A", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(countOccurrences(c.text, c.needle), c.expected) << c.text << " / " << c.needle;
}

struct SplitCase {
  std::string text;
  std::string delimiter;
  std::vector<std::string> expected;
};

TEST(Split, Table) {
  const std::string zhong = GBK("中");
  const std::vector<SplitCase> cases = {
      {"", " ", {}},
      {"a b c", " ", {"a", "b", "c"}},
      {"a  b", " ", {"a", "", "b"}},
      {"a b ", " ", {"a", "b"}},  // empty last piece dropped
      {" a", " ", {"", "a"}},
      {" ", " ", {""}},
      {"  ", " ", {"", ""}},
      {"l1\r\nl2\r\n", "\r\n", {"l1", "l2"}},
      {"l1\r\n\r\nl3", "\r\n", {"l1", "", "l3"}},
      {"abc", "", {"abc"}},
      {zhong + "-" + zhong, "-", {zhong, zhong}},
      // D6 D0 CE C4 holds D0 CE only across the boundary.
      {"\xD6\xD0\xCE\xC4", "\xD0\xCE", {"\xD6\xD0\xCE\xC4"}},
      {"a\xD6\xD0"
       "b",
       "\xD6\xD0",
       {"a", "b"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(split(c.text, c.delimiter), c.expected) << c.text;
    EXPECT_EQ(countPieces(c.text, c.delimiter), c.expected.size()) << c.text;
  }
}

TEST(Trim, Table) {
  const std::string full = "\xA1\xA1";
  const std::string zhong = GBK("中");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"  abc  ", "abc"},
      {full + " a b " + full, "a b"},
      {full + full, ""},
      {"\tabc\r\n", "\tabc\r\n"},  // tabs and line ends are not blanks
      {zhong + " ", zhong},
      // B0 A1 is one character; the A1 A1 after it is a real full-width space.
      {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      // A1 A1 here straddles two characters (B0 A1, A1 B0) and is no space.
      {"\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(trim(in), out) << in;
}

TEST(ReplaceAll, GoesByWholeCharacters) {
  EXPECT_EQ(replaceAll("a-b-c", "-", "+"), "a+b+c");
  EXPECT_EQ(replaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(replaceAll("\xD6\xD0\xCE\xC4", "\xD0\xCE", "x"), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(replaceAll(GBK("2014年3月5日"), GBK("年"), "-"), GBK("2014-3月5日"));
}

TEST(ReadNumber, Table) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  const std::vector<std::pair<std::string, std::int32_t>> cases = {
      {"", 0},
      {"abc", 0},
      {"30", 30},
      {"50.", 50},
      {"12abc", 12},
      {"  7", 7},
      {"\xA1\xA1"
       "8",
       8},
      {"-5", -5},
      {"+5", 5},
      {" -5x", -5},
      {"- 5", 0},
      {"--5", 0},
      {"0012", 12},
      {"2147483647", kMax},
      {"2147483648", kMax},
      {"99999999999999999999", kMax},
      {"-2147483648", kMin},
      {"-2147483649", kMin},
      {"-99999999999999999999", kMin},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(readNumber(in), out) << in;
}

TEST(FormatNumber, Table) {
  const std::vector<std::pair<double, std::string>> cases = {
      {70.0, "70"},
      {33.3, "33.3"},
      {0.0, "0"},
      {-0.0, "0"},
      {-2.5, "-2.5"},
      {1e15, "1000000000000000"},
      {0.1 + 0.2, "0.3"},
      {100.0 / 3.0, "33.33333333333"},
      {1.0 / 3.0, "0.3333333333333"},
      {0.000125, "0.000125"},
      {123456.789, "123456.789"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(formatNumber(in), out) << in;
  EXPECT_EQ(formatInt(-42), "-42");
  EXPECT_EQ(formatInt(1000), "1000");
}

TEST(RoundHalfAway, Table) {
  struct Case {
    double value;
    int decimals;
    double expected;
  };
  const std::vector<Case> cases = {
      {2.5, 0, 3.0},
      {-2.5, 0, -3.0},
      {2.4, 0, 2.0},
      {-2.4, 0, -2.0},
      {0.05, 1, 0.1},
      {0.05 - 5e-14, 1, 0.1},  // within 1e-12 below the half
      {0.05 - 1e-11, 1, 0.0},  // clearly below it
      {1.0 / 3.0 * 100.0, 1, 33.3},
      {7.0 / 10.0 * 100.0, 1, 70.0},
      {0.15, 1, 0.2},
      {12.25, 1, 12.3},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(roundHalfAway(c.value, c.decimals), c.expected) << c.value;
  EXPECT_EQ(formatNumber(roundHalfAway(1.0 / 3.0 * 100.0, 1)), "33.3");
  EXPECT_EQ(formatNumber(roundHalfAway(7.0 / 10.0 * 100.0, 1)), "70");
}

TEST(LastBytes, Table) {
  EXPECT_EQ(lastBytes("12345", 3), "345");
  EXPECT_EQ(lastBytes("12", 3), "12");
  EXPECT_EQ(lastBytes("", 2), "");
}

}  // namespace
}  // namespace zr::text
