#pragma once
// Calendar dates as the program writes and reads them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr::text {

struct Date {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  friend bool operator==(const Date&, const Date&) = default;
};

// Year "-" month "-" day, without leading zeros (2014-3-5).
std::string todayText(const Date& today);
// Four-digit year "-" two-digit month "-" two-digit day, as normaliseDate gives it.
std::string dayText(const Date& date);
// Brings a date text to the form yyyy-mm-dd (年/月/日 and one-digit parts
// handled); a text of one or two parts keeps the missing parts empty.
std::string normaliseDate(std::string_view text);
// Reads yyyy-m-d (after normaliseDate) as a real calendar date.
std::optional<Date> parseDate(std::string_view text);
Date addDays(const Date& date, int days);
// Whole days from a to b (negative when b lies before a).
long daysBetween(const Date& a, const Date& b);

}  // namespace zr::text
