#include "text/bytes.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace zr::text {
namespace {

// A byte of 0x80 or above starts a two-byte character.
inline std::size_t charLength(unsigned char lead) { return lead >= 0x80 ? 2 : 1; }

inline bool isAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

inline unsigned char foldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

// Whether needle matches text at pos, which lies on a character boundary.
// Case folding touches single-byte letters only: the second byte of a
// two-byte character may fall in the letter range and is compared exactly.
bool matchesAt(std::string_view text, std::size_t pos, std::string_view needle, bool ignoreCase) {
  if (!ignoreCase) return std::memcmp(text.data() + pos, needle.data(), needle.size()) == 0;
  std::size_t i = 0;
  while (i < needle.size()) {
    const auto t = static_cast<unsigned char>(text[pos + i]);
    const auto n = static_cast<unsigned char>(needle[i]);
    if (t >= 0x80) {
      if (t != n) return false;
      if (i + 1 < needle.size() && text[pos + i + 1] != needle[i + 1]) return false;
      i += 2;
    } else {
      if (foldAscii(t) != foldAscii(n)) return false;
      ++i;
    }
  }
  return true;
}

// Whether no byte of the text is 0x80 or above, eight bytes at a time.
bool isAscii(std::string_view text) {
  std::uint64_t high = 0;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    high |= word;
  }
  for (; i < text.size(); ++i) high |= static_cast<unsigned char>(text[i]);
  return (high & 0x8080808080808080ULL) == 0;
}

inline bool startsWithAt(std::string_view text, std::size_t pos, std::string_view part) {
  return part.size() <= text.size() - pos && std::memcmp(text.data() + pos, part.data(), part.size()) == 0;
}

// Calls onPiece(begin, end) for each piece of split(), and returns their number.
template <typename OnPiece>
std::size_t forEachPiece(std::string_view text, std::string_view delimiter, OnPiece onPiece) {
  std::size_t count = 0;
  std::size_t pieceStart = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (!delimiter.empty() && startsWithAt(text, pos, delimiter)) {
      onPiece(pieceStart, pos);
      ++count;
      pos += delimiter.size();
      pieceStart = pos;
    } else {
      pos += charLength(static_cast<unsigned char>(text[pos]));
    }
  }
  if (pieceStart < text.size()) {
    onPiece(pieceStart, text.size());
    ++count;
  }
  return count;
}

inline bool isBlankAt(std::string_view text, std::size_t pos) {
  if (text[pos] == ' ') return true;
  return startsWithAt(text, pos, "\xA1\xA1");
}

}  // namespace

int findText(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
  if (start < 1) start = 1;
  if (static_cast<std::size_t>(start) > text.size()) return -1;
  if (needle.empty()) return 1;
  std::size_t pos = static_cast<std::size_t>(start) - 1;
  while (pos < text.size() && needle.size() <= text.size() - pos) {
    if (matchesAt(text, pos, needle, ignoreCase)) return static_cast<int>(pos + 1);
    pos += charLength(static_cast<unsigned char>(text[pos]));
  }
  return -1;
}

int countOccurrences(std::string_view text, std::string_view needle) {
  if (needle.empty() || needle.size() > text.size()) return 0;
  // After an occurrence the next search starts at the following character,
  // so overlapping occurrences count and the scan stays on character
  // boundaries: every boundary where the needle matches counts once.
  const auto first = static_cast<unsigned char>(needle[0]);
  const unsigned char firstLower = foldAscii(first);
  const unsigned char firstUpper = isAsciiLetter(first) ? static_cast<unsigned char>(firstLower - 32) : first;
  // A needle of ASCII bytes only can match only where every byte of the text
  // is ASCII too, so there a plain folded comparison is exact.
  bool asciiNeedle = true;
  for (char c : needle) asciiNeedle = asciiNeedle && static_cast<unsigned char>(c) < 0x80;

  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t last = text.size() - needle.size();  // last position where the needle fits
  int count = 0;

  // The texts counted most (joined base sets, thousands of times per search)
  // are ASCII: there every byte is a character boundary, and a needle without
  // letters is found with a plain substring search.
  if (isAscii(text)) {
    if (!asciiNeedle) return 0;
    bool hasLetter = false;
    for (char c : needle) hasLetter = hasLetter || isAsciiLetter(static_cast<unsigned char>(c));
    if (!hasLetter) {
      for (std::size_t p = text.find(needle); p != std::string_view::npos; p = text.find(needle, p + 1)) ++count;
      return count;
    }
  }

  std::size_t pos = 0;
  while (pos <= last) {
    const unsigned char c = bytes[pos];
    if (c == firstLower || c == firstUpper) {
      bool match;
      if (asciiNeedle) {
        match = true;
        for (std::size_t i = 1; i < needle.size() && match; ++i)
          match = foldAscii(bytes[pos + i]) == foldAscii(static_cast<unsigned char>(needle[i]));
      } else {
        match = matchesAt(text, pos, needle, true);
      }
      count += match ? 1 : 0;
    }
    pos += 1 + (c >> 7);
  }
  return count;
}

std::vector<std::string> split(std::string_view text, std::string_view delimiter) {
  std::vector<std::string> pieces;
  forEachPiece(text, delimiter,
               [&](std::size_t begin, std::size_t end) { pieces.emplace_back(text.substr(begin, end - begin)); });
  return pieces;
}

std::size_t countPieces(std::string_view text, std::string_view delimiter) {
  return forEachPiece(text, delimiter, [](std::size_t, std::size_t) {});
}

std::string trim(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && isBlankAt(text, begin)) begin += text[begin] == ' ' ? 1 : 2;
  // Walk forward by whole characters so that A1 A1 is never taken from the
  // second byte of one character and the first byte of the next.
  std::size_t end = begin;
  std::size_t pos = begin;
  while (pos < text.size()) {
    if (isBlankAt(text, pos)) {
      pos += text[pos] == ' ' ? 1 : 2;
    } else {
      pos += charLength(static_cast<unsigned char>(text[pos]));
      end = pos < text.size() ? pos : text.size();
    }
  }
  return std::string(text.substr(begin, end - begin));
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (startsWithAt(text, pos, from)) {
      out.append(to);
      pos += from.size();
    } else {
      const std::size_t len = std::min(charLength(static_cast<unsigned char>(text[pos])), text.size() - pos);
      out.append(text.substr(pos, len));
      pos += len;
    }
  }
  return out;
}

std::int32_t readNumber(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == ' ' || text[pos] == '\t') {
      ++pos;
    } else if (startsWithAt(text, pos, "\xA1\xA1")) {
      pos += 2;
    } else {
      break;
    }
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Accumulate as a negative value so that INT32_MIN is reachable.
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::int64_t value = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 - (text[pos] - '0');
    if (value < kMin) value = kMin - 1;  // saturated; stays below the bound
    ++pos;
  }
  if (negative) return value < kMin ? std::numeric_limits<std::int32_t>::min() : static_cast<std::int32_t>(value);
  if (-value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(-value);
}

std::string formatInt(long long value) { return std::to_string(value); }

std::string formatNumber(double value) {
  if (!std::isfinite(value)) return "0";
  if (value == 0) return "0";
  if (value == std::trunc(value) && std::fabs(value) < 1e18) return formatInt(static_cast<long long>(value));
  // 13 significant digits in scientific form, then written out in plain
  // decimal without trailing zeros.
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.12e", value);
  std::string_view s(buf);
  const bool negative = s[0] == '-';
  if (negative) s.remove_prefix(1);
  const std::size_t e = s.find('e');
  std::string digits;
  for (char c : s.substr(0, e))
    if (c != '.') digits.push_back(c);
  const int exponent = std::atoi(std::string(s.substr(e + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent < 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
  } else {
    const auto intDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intDigits) {
      out += digits;
      out.append(intDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, intDigits);
      out += '.';
      out += digits.substr(intDigits);
    }
  }
  return out;
}

double roundHalfAway(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  const double scale = std::pow(10.0, decimals);
  const double scaled = std::fabs(value) * scale;
  if (scaled >= 4503599627370496.0) return value;  // 2^52: no fraction left to round
  double whole = std::floor(scaled);
  if (scaled - whole >= 0.5 - 1e-12) whole += 1;
  const double rounded = whole / scale;
  return value < 0 ? -rounded : rounded;
}

std::string lastBytes(std::string_view text, std::size_t n) {
  return std::string(n >= text.size() ? text : text.substr(text.size() - n));
}

}  // namespace zr::text
