// The byte-text rules over arbitrary bytes: GBK, cut two-byte characters and
// bytes no code page knows. Each operation is checked against a plain scan
// over the character boundaries, the way the rules describe it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "text/bytes.h"
#include "text/dates.h"

namespace {

using namespace zr::text;

std::size_t charLength(std::string_view text, std::size_t pos) {
  return static_cast<unsigned char>(text[pos]) >= 0x80 ? 2 : 1;
}

// The scan positions of a search that starts at byte offset from.
std::vector<std::size_t> boundaries(std::string_view text, std::size_t from) {
  std::vector<std::size_t> out;
  for (std::size_t pos = from; pos < text.size(); pos += charLength(text, pos)) out.push_back(pos);
  return out;
}

bool endsOnBoundary(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) pos += charLength(text, pos);
  return pos == text.size();
}

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Whether needle lies at pos. Without regard to case only single-byte letters
// of the text fold; both bytes of a two-byte character compare exactly.
bool occursAt(std::string_view text, std::size_t pos, std::string_view needle, bool ignoreCase) {
  if (needle.size() > text.size() - pos) return false;
  std::size_t i = 0;
  while (i < needle.size()) {
    const std::size_t len = charLength(text, pos + i);
    for (std::size_t b = 0; b < len && i + b < needle.size(); ++b) {
      const char t = text[pos + i + b], n = needle[i + b];
      if (len == 1 && ignoreCase ? fold(t) != fold(n) : t != n) return false;
    }
    i += len;
  }
  return true;
}

int firstOccurrence(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
  if (start < 1) start = 1;
  if (static_cast<std::size_t>(start) > text.size()) return -1;
  if (needle.empty()) return 1;
  for (std::size_t pos : boundaries(text, static_cast<std::size_t>(start) - 1)) {
    if (occursAt(text, pos, needle, ignoreCase)) return static_cast<int>(pos + 1);
  }
  return -1;
}

void checkSearch(std::string_view text, std::string_view needle, int start) {
  for (bool ignoreCase : {false, true}) {
    const int found = findText(text, needle, start, ignoreCase);
    FUZZ_CHECK(found == -1 || (found >= 1 && static_cast<std::size_t>(found) <= text.size()));
    FUZZ_CHECK(found == firstOccurrence(text, needle, start, ignoreCase));
  }

  const int count = countOccurrences(text, needle);
  FUZZ_CHECK(count >= 0 && static_cast<std::size_t>(count) <= text.size());
  int expected = 0;
  if (!needle.empty()) {
    for (std::size_t pos : boundaries(text, 0)) expected += occursAt(text, pos, needle, true) ? 1 : 0;
  }
  FUZZ_CHECK(count == expected);
}

void checkSplit(std::string_view text, std::string_view delimiter) {
  const std::vector<std::string> pieces = split(text, delimiter);
  FUZZ_CHECK(countPieces(text, delimiter) == pieces.size());
  FUZZ_CHECK(text.empty() == pieces.empty());
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) joined += delimiter;
    joined += pieces[i];
  }
  // Only a dropped empty last piece is missing: the text ended with a delimiter.
  FUZZ_CHECK(joined == text || joined + std::string(delimiter) == text);
  if (delimiter.empty()) FUZZ_CHECK(text.empty() || (pieces.size() == 1 && pieces[0] == text));
}

bool isBlankAt(std::string_view text, std::size_t pos) { return text[pos] == ' ' || text.substr(pos, 2) == "\xA1\xA1"; }

void checkTrim(std::string_view text) {
  const std::string trimmed = trim(text);
  FUZZ_CHECK(trimmed.size() <= text.size());
  FUZZ_CHECK(text.find(trimmed) != std::string_view::npos);
  FUZZ_CHECK(trim(trimmed) == trimmed);
  if (!trimmed.empty()) {
    FUZZ_CHECK(!isBlankAt(trimmed, 0));
    const std::vector<std::size_t> chars = boundaries(trimmed, 0);
    FUZZ_CHECK(!isBlankAt(trimmed, chars.back()));
  }
}

void checkReplace(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) {
    FUZZ_CHECK(replaceAll(text, from, to) == text);
    return;
  }
  FUZZ_CHECK(replaceAll(text, from, from) == text);
  // A longer replacement changes the text exactly when the text holds an occurrence.
  const std::string longer = replaceAll(text, from, std::string(from) + "\x01");
  FUZZ_CHECK((longer == text) == (findText(text, from) == -1));
  const std::string removed = replaceAll(text, from, "");
  FUZZ_CHECK(removed.size() <= text.size() && (text.size() - removed.size()) % from.size() == 0);
  const std::size_t replaced = (text.size() - removed.size()) / from.size();
  FUZZ_CHECK(longer.size() == text.size() + replaced);
  FUZZ_CHECK(replaceAll(text, from, to).size() == removed.size() + replaced * to.size());
}

std::int32_t referenceNumber(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text.substr(pos, 2) == "\xA1\xA1")) {
    pos += text[pos] == '\xA1' ? 2 : 1;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  long double value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    value = std::min(value * 10 + (text[pos] - '0'), 1e12L);
  }
  if (negative) value = -value;
  value = std::max<long double>(value, std::numeric_limits<std::int32_t>::min());
  value = std::min<long double>(value, std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(value);
}

void checkDates(std::string_view text, int days) {
  const std::string normal = normaliseDate(text);
  FUZZ_CHECK(split(normal, "-").size() <= 3);
  if (endsOnBoundary(text)) FUZZ_CHECK(normaliseDate(normal) == normal);

  const auto date = parseDate(text);
  if (!date) return;
  FUZZ_CHECK(date->year >= 1 && date->year <= 9999 && date->month >= 1 && date->month <= 12);
  FUZZ_CHECK(date->day >= 1 && date->day <= 31);
  FUZZ_CHECK(parseDate(dayText(*date)) == date);
  FUZZ_CHECK(parseDate(todayText(*date)) == date);
  const Date later = addDays(*date, days);
  FUZZ_CHECK(daysBetween(*date, later) == days);
  FUZZ_CHECK(addDays(later, -days) == *date);
  if (later.year >= 1 && later.year <= 9999) FUZZ_CHECK(parseDate(dayText(later)) == later);
}

void checkFormat(double value) {
  const std::string text = formatNumber(value);
  FUZZ_CHECK(!text.empty() && text.back() != '.');
  if (text.find('.') != std::string::npos) FUZZ_CHECK(text.back() != '0');
  if (!std::isfinite(value)) return;
  const double back = std::strtod(text.c_str(), nullptr);
  if (value != std::trunc(value) || std::fabs(value) >= 1e18) {
    const std::size_t firstSignificant = text.find_first_of("123456789");
    std::size_t significant = 0;
    for (std::size_t i = firstSignificant; i < text.size(); ++i) significant += text[i] != '.' ? 1 : 0;
    FUZZ_CHECK(significant <= 13 || value == std::trunc(value));
    FUZZ_CHECK(std::fabs(back - value) <= std::fabs(value) * 1e-12);
  } else {
    FUZZ_CHECK(back == value);
  }
  const double rounded = roundHalfAway(value, 2);
  FUZZ_CHECK(std::fabs(rounded - value) <= 0.005 + std::fabs(value) * 1e-12);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string needle = input.ConsumeRandomLengthString(32);
  const std::string replacement = input.ConsumeRandomLengthString(8);
  const int start = input.ConsumeIntegralInRange<int>(-2, 4100);
  const int days = input.ConsumeIntegralInRange<int>(-400000, 400000);
  const double number = input.ConsumeFloatingPoint<double>();
  const std::string text = input.ConsumeRemainingBytesAsString();

  checkSearch(text, needle, start);
  checkSearch(text, needle, 1);
  checkSplit(text, needle);
  checkTrim(text);
  checkReplace(text, needle, replacement);
  FUZZ_CHECK(readNumber(text) == referenceNumber(text));
  checkDates(text, days);
  checkFormat(number);
  FUZZ_CHECK(lastBytes(text, 3).size() == std::min<std::size_t>(3, text.size()));
  return 0;
}
