#include "text/dates.h"

#include <cstdio>

#include "text/bytes.h"
#include "text/gbk.h"

namespace zr::text {
namespace {

// Days since 1970-01-01 in the proleptic Gregorian calendar (H. Hinnant's
// civil-from-days algorithms), independent of time zones and the C library.
long daysFromCivil(int y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153L * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

Date civilFromDays(long z) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
  return Date{y, m, d};
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// A part of a date: one or more decimal digits, read without overflow.
std::optional<int> readPart(std::string_view part) {
  if (part.empty() || part.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : part) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string twoDigits(const std::string& part) { return part.size() == 1 ? "0" + part : part; }

}  // namespace

std::string todayText(const Date& today) {
  return formatInt(today.year) + "-" + formatInt(today.month) + "-" + formatInt(today.day);
}

std::string dayText(const Date& date) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", date.year, date.month, date.day);
  return buf;
}

std::string normaliseDate(std::string_view text) {
  std::string dashed = replaceAll(text, GBK("年"), "-");
  dashed = replaceAll(dashed, GBK("月"), "-");
  dashed = replaceAll(dashed, GBK("日"), "");
  const std::vector<std::string> parts = split(dashed, "-");
  if (parts.empty()) return "--";
  // Missing parts stay empty: "2014" gives "2014--", "2014-3-" gives "2014-03-".
  std::string out = parts[0] + "-";
  if (parts.size() > 1) out += twoDigits(parts[1]);
  out += "-";
  if (parts.size() > 2) out += twoDigits(parts[2]);
  return out;
}

std::optional<Date> parseDate(std::string_view text) {
  const std::vector<std::string> parts = split(normaliseDate(trim(text)), "-");
  if (parts.size() != 3) return std::nullopt;
  const auto y = readPart(parts[0]);
  const auto m = readPart(parts[1]);
  const auto d = readPart(parts[2]);
  if (!y || !m || !d) return std::nullopt;
  if (*y < 1 || *y > 9999 || *m < 1 || *m > 12 || *d < 1 || *d > daysInMonth(*y, *m)) return std::nullopt;
  return Date{*y, *m, *d};
}

Date addDays(const Date& date, int days) {
  return civilFromDays(daysFromCivil(date.year, date.month, date.day) + days);
}

long daysBetween(const Date& a, const Date& b) {
  return daysFromCivil(b.year, b.month, b.day) - daysFromCivil(a.year, a.month, a.day);
}

}  // namespace zr::text
