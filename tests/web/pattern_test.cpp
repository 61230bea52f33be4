#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "text/gbk.h"
#include "web/pattern.h"

namespace zr::web {
namespace {

const std::string kRow = "<tr><td class='gray'>(.*?)</td><td class='red big'>(.*?)</td><td";

std::string gbk(const char* utf8) { return text::utf8ToGbk(utf8); }

TEST(PatternTest, DefaultsIgnoreCaseMatchEveryLineAndFindAll) {
  PatternExtractor x;
  EXPECT_TRUE(x.create("^ab$", "AB\nx\nab\naB"));
  EXPECT_EQ(x.matchCount(), 3);
  EXPECT_EQ(x.matchText(3), "aB");

  EXPECT_TRUE(x.create("^ab$", "AB\nab", true, false, false));
  EXPECT_EQ(x.matchCount(), 0);
  EXPECT_TRUE(x.create("ab", "AB ab ab", true, true, false));
  EXPECT_EQ(x.matchCount(), 1);
  int position = 0;
  EXPECT_EQ(x.matchText(1, &position), "ab");
  EXPECT_EQ(position, 3);
}

TEST(PatternTest, DotStopsAtLineEnds) {
  PatternExtractor x;
  for (const char* subject : {"a\nb", "a\rb", "a\r\nb"}) {
    x.create("a.+b", subject);
    EXPECT_EQ(x.matchCount(), 0) << subject;
  }
  x.create("a.b", gbk("a开b"));  // one two-byte character is one "."
  EXPECT_EQ(x.matchCount(), 1);
}

TEST(PatternTest, RowsOfAResultsPageInOrder) {
  const std::string page =
      gbk("<table><tr><th>期号</th></tr>\n"
          "<tr><td class='gray'>001</td><td class='red big'>12345</td><td>4</td></tr>\n"
          "<tr><td class='GRAY'>002</td><td class='red big'>开奖中</td><td>-</td></tr>"
          "<tr><td class='gray'>003</td><td class='red big'>00007</td><td>0</td></tr>\n"
          "<tr><td class='grey'>004</td><td class='red big'>99999</td><td>9</td></tr>\n");
  PatternExtractor x;
  EXPECT_TRUE(x.create(kRow, page));
  ASSERT_EQ(x.matchCount(), 3);
  EXPECT_EQ(x.subMatchCount(), 2);
  const std::string periods[] = {"001", "002", "003"};
  const std::string numbers[] = {"12345", gbk("开奖中"), "00007"};
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(x.subMatchText(k, 1), periods[k - 1]);
    EXPECT_EQ(x.subMatchText(k, 2), numbers[k - 1]);
  }
}

TEST(PatternTest, PositionsAreByteOffsetsAfterTwoByteCharacters) {
  const std::string subject = gbk("号码：12，号码：345");
  PatternExtractor x;
  x.create(gbk("号码：(\\d+)"), subject);
  ASSERT_EQ(x.matchCount(), 2);
  struct Expect {
    int k, j;
    std::string text;
    int position;
  };
  const Expect cases[] = {
      {1, 0, gbk("号码：12"), 0},
      {1, 1, "12", 6},
      {2, 0, gbk("号码：345"), 10},
      {2, 1, "345", 16},
  };
  for (const Expect& c : cases) {
    int position = -9;
    const std::string text = c.j == 0 ? x.matchText(c.k, &position) : x.subMatchText(c.k, c.j, &position);
    EXPECT_EQ(text, c.text) << c.k << "," << c.j;
    EXPECT_EQ(position, c.position) << c.k << "," << c.j;
    EXPECT_EQ(subject.substr(static_cast<std::size_t>(position), text.size()), text);
  }
}

TEST(PatternTest, OutOfRangeAndFailedPatternGiveEmptyText) {
  PatternExtractor x;
  EXPECT_EQ(x.pattern(), "");
  EXPECT_EQ(x.matchCount(), 0);
  EXPECT_EQ(x.matchText(1), "");
  x.create("(a)(b)?", "a");
  int position = 0;
  const struct { int k, j; } outside[] = {{0, 1}, {2, 1}, {1, 0}, {1, 3}, {-1, -1}};
  for (const auto& c : outside) {
    EXPECT_EQ(x.subMatchText(c.k, c.j, &position), "");
    EXPECT_EQ(position, -1);
  }
  EXPECT_EQ(x.subMatchText(1, 2, &position), "");  // a group that took no part
  EXPECT_EQ(position, -1);

  EXPECT_FALSE(x.create("(unclosed", "unclosed"));
  EXPECT_EQ(x.matchCount(), 0);
  EXPECT_EQ(x.subMatchCount(), 0);
  EXPECT_EQ(x.pattern(), "(unclosed");
}

TEST(PatternTest, SecondCreateReplacesMatchesAndSubject) {
  PatternExtractor x;
  x.create("a", "aaa");
  PatternExtractor copy = x;
  x.create("b(c)", "xbcx");
  EXPECT_EQ(x.matchCount(), 1);
  EXPECT_EQ(x.pattern(), "b(c)");
  EXPECT_EQ(x.replace("[$1]"), "x[c]x");
  EXPECT_EQ(copy.matchCount(), 3);  // a copy keeps what it had
  EXPECT_EQ(copy.replace("b"), "bbb");
}

TEST(PatternTest, ReplaceKeepsTheOtherBytesExactly) {
  PatternExtractor x;
  const std::string subject = gbk("期号001，期号002") + "\xFF";  // an undefined byte survives
  x.create("\\d+", subject);
  EXPECT_EQ(x.replace("#"), gbk("期号#，期号#") + "\xFF");
  x.create("\\d+", subject, std::nullopt, std::nullopt, false);
  EXPECT_EQ(x.replace(gbk("第$&期")), gbk("期号第001期，期号002") + "\xFF");
}

TEST(PatternTest, LongLineWithoutTheRowEndDoesNotOverflowTheStack) {
  const std::string page = "<tr><td class='gray'>" + std::string(100'000, 'x');
  PatternExtractor x;
  EXPECT_TRUE(x.create(kRow, page));
  EXPECT_EQ(x.matchCount(), 0);
}

// A line of row starts without a row end: every attempt fails, and each must
// fail at once, not by running the engine to the line's end (the line below
// took minutes that way).
TEST(PatternTest, ManyRowStartsOnOneLineEndQuickly) {
  std::string page;
  for (int i = 0; i < 5000; ++i) page += "<tr><td class='gray'>";
  page += "\n<tr><td class='gray'>001</td><td class='red big'>12345</td><td>";
  PatternExtractor x;
  EXPECT_TRUE(x.create(kRow, page));
  ASSERT_EQ(x.matchCount(), 1);
  EXPECT_EQ(x.subMatchText(1, 1), "001");
  EXPECT_EQ(x.subMatchText(1, 2), "12345");
}

// Rows on a line longer than the engine's short-line limit keep the lazy
// groups' shortest ends; a match of more than 2048 characters is not found.
TEST(PatternTest, LongLinesKeepLazyGroupsAndLongMatchesAreNotFound) {
  std::string line;
  for (int i = 0; i < 100; ++i) {
    line += "<tr><td class='gray'>" + std::to_string(i) + "</td><td class='red big'>" + std::to_string(i * 7) +
            "</td><td>x</td></tr>";
  }
  PatternExtractor x;
  EXPECT_TRUE(x.create(kRow, line));
  ASSERT_EQ(x.matchCount(), 100);
  EXPECT_EQ(x.subMatchText(100, 1), "99");
  EXPECT_EQ(x.subMatchText(100, 2), "693");

  // The text of a match, its period cell of the given length.
  const auto row = [](std::size_t cell) {
    return "<tr><td class='gray'>" + std::string(cell, '1') + "</td><td class='red big'>2</td><td";
  };
  const std::size_t fixedPart = row(0).size();
  x.create(kRow, row(2048 - fixedPart) + ">");
  EXPECT_EQ(x.matchCount(), 1);
  x.create(kRow, row(2049 - fixedPart) + ">\n" + row(1) + ">");
  ASSERT_EQ(x.matchCount(), 1);
  EXPECT_EQ(x.subMatchText(1, 1), "1");
}

// The extractor starts the engine only where a pattern's leading literal
// occurs; it must find exactly what the engine finds on its own.
TEST(PatternTest, MatchesAgreeWithTheEngineAlone) {
  const struct {
    std::wstring pattern, subject;
  } cases[] = {
      {L"ab*c", L"ac abc ABBC abbd"},
      {L"abc|x", L"x abc xabc"},
      {L"a{2}b", L"aab ab aaab"},
      {L"x\\bword", L"xword x word"},
      {L"<td>(.*?)</td>", L"<td>1</td><TD>2</td>\n<td>3\n</td>"},
      {L"aa", L"aaaaa"},
      {L"ab?", L"a ab abb"},
      {L"<b>(.*?)</b>x", L"<b>1</b>y <b>2</b>x\n<b>3</b>\nx <B>4</b>X"},
      {L"a(.)c(.)e", L"abcde axcxe\nabc\nde"},
      // The texts a match must hold after its start, found around groups,
      // escapes and repeats.
      {L"a\\.b(.*?)c\\?d", L"a.bxxcd a.bc?d a.b\nc?d AXBCD"},
      {L"x(ab)+c(de)?f", L"xababcdef xcf xabcf xabcdf"},
      {L"a(?=b)bc.y*z", L"abcxz abcxyyz abc z"},
      {L"q((r)s)?t[uv]w", L"qrstuw qtvw qrstw"},
      {L"m\\d+n(o)", L"m12no mno m3n"},
  };
  const auto options = std::regex::ECMAScript | std::regex::icase | std::regex::multiline;
  for (const auto& c : cases) {
    std::vector<std::string> expected;
    std::wregex engine(c.pattern, options);
    for (std::wsregex_iterator it(c.subject.begin(), c.subject.end(), engine), end; it != end; ++it) {
      expected.push_back(text::wideToGbk(it->str()) + "@" + std::to_string(it->position()));
    }
    PatternExtractor x;
    ASSERT_TRUE(x.create(text::wideToGbk(c.pattern), text::wideToGbk(c.subject)));
    std::vector<std::string> found;
    for (int k = 1; k <= x.matchCount(); ++k) {
      int position = 0;
      const std::string m = x.matchText(k, &position);
      found.push_back(m + "@" + std::to_string(position));
    }
    EXPECT_EQ(found, expected) << text::wideToGbk(c.pattern);
  }
}

// A page served as one long line: every row is found, and each lazy group
// stops at its first closing tag.
TEST(PatternTest, RowsOfAPageWithoutLineEnds) {
  std::string page = "<html><body><table>";
  for (int p = 1; p <= 120; ++p) {
    char row[160];
    std::snprintf(row, sizeof row, "<tr><td class='gray'>%03d</td><td class='red big'>%05d</td><td>x</td></tr>", p,
                  p * 37);
    page += row;
  }
  page += "</table></body></html>";
  PatternExtractor x;
  ASSERT_TRUE(x.create(kRow, page));
  ASSERT_EQ(x.matchCount(), 120);
  for (int k = 1; k <= 120; k += 17) {
    char period[8], number[8];
    std::snprintf(period, sizeof period, "%03d", k);
    std::snprintf(number, sizeof number, "%05d", k * 37);
    EXPECT_EQ(x.subMatchText(k, 1), period);
    EXPECT_EQ(x.subMatchText(k, 2), number);
  }
}

TEST(PatternTest, BackReferencesStillWork) {
  PatternExtractor x;
  EXPECT_TRUE(x.create("(\\d)\\1", "12 33 45 66"));
  ASSERT_EQ(x.matchCount(), 2);
  EXPECT_EQ(x.matchText(2), "66");
}

}  // namespace
}  // namespace zr::web
