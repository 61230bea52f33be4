#include "text/dates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/gbk.h"

namespace zr::text {
namespace {

TEST(NormaliseDate, Table) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {GBK("2014年3月5日"), "2014-03-05"},
      {"2014-3-5", "2014-03-05"},
      {"2014-12-25", "2014-12-25"},
      {"2014-003-5", "2014-003-05"},
      {"2014-03-05-07", "2014-03-05"},
      {"2014--5", "2014--05"},
      {"", "--"},
      // One or two parts: the missing parts stay empty.
      {"2014", "2014--"},
      {"2014-3-", "2014-03-"},
      {"2014-3", "2014-03-"},
      {"-", "--"},
      {"abc", "abc--"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(normaliseDate(in), out) << in;
}

TEST(DateText, Forms) {
  EXPECT_EQ(todayText({2014, 3, 5}), "2014-3-5");
  EXPECT_EQ(dayText({2014, 3, 5}), "2014-03-05");
  EXPECT_EQ(normaliseDate(todayText({2014, 3, 13})), "2014-03-13");
}

TEST(ParseDate, ReadsRealDates) {
  EXPECT_EQ(parseDate("2014-03-05"), (Date{2014, 3, 5}));
  EXPECT_EQ(parseDate("2014-3-5"), (Date{2014, 3, 5}));
  EXPECT_EQ(parseDate(GBK("2016年2月29日")), (Date{2016, 2, 29}));
  EXPECT_EQ(parseDate("9999-12-31"), (Date{9999, 12, 31}));
  EXPECT_EQ(parseDate("0001-01-01"), (Date{1, 1, 1}));
}

TEST(ParseDate, RejectsWhatIsNoDate) {
  for (const char* text : {"", "--", "2014", "2014-03-", "2014-13-01", "2014-00-10", "2014-02-29", "2015-02-30",
                           "1900-02-29", "2014-04-31", "2014-03-00", "0000-01-01", "10000-01-01", "abcd-ef-gh",
                           "2014-3a-5", "2014--05", "-2014-03-05", "99999999999-01-01"}) {
    EXPECT_FALSE(parseDate(text).has_value()) << text;
  }
}

TEST(DateArithmetic, AcrossMonthYearAndLeapEnds) {
  struct Case {
    Date from;
    int days;
    Date to;
  };
  const std::vector<Case> cases = {
      {{2014, 3, 13}, -1, {2014, 3, 12}}, {{2014, 3, 1}, -1, {2014, 2, 28}}, {{2015, 1, 1}, -1, {2014, 12, 31}},
      {{2016, 3, 1}, -1, {2016, 2, 29}},  {{2000, 3, 1}, -1, {2000, 2, 29}}, {{1900, 3, 1}, -1, {1900, 2, 28}},
      {{2014, 12, 31}, 1, {2015, 1, 1}},  {{2016, 2, 28}, 1, {2016, 2, 29}}, {{2014, 1, 1}, 365, {2015, 1, 1}},
      {{2016, 1, 1}, 366, {2017, 1, 1}},  {{1969, 12, 31}, 1, {1970, 1, 1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(addDays(c.from, c.days), c.to) << dayText(c.from) << " + " << c.days;
    EXPECT_EQ(daysBetween(c.from, c.to), c.days) << dayText(c.from);
    EXPECT_EQ(daysBetween(c.to, c.from), -c.days) << dayText(c.from);
  }
  EXPECT_EQ(dayText(addDays(*parseDate(todayText({2014, 3, 1})), -1)), "2014-02-28");
}

}  // namespace
}  // namespace zr::text
