#pragma once
// The byte-text rules every part of the program follows: text is GBK, lengths
// and positions count bytes, positions are 1-based, and a search steps over
// two-byte characters (a byte of 0x80 or above starts a two-byte character).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr::text {

// 1-based byte position of the first occurrence of needle at or after start,
// or -1. A start below 1 counts as 1; the scan advances by whole characters.
// ignoreCase folds single-byte ASCII letters only.
int findText(std::string_view text, std::string_view needle, int start = 1, bool ignoreCase = false);

// Occurrences of needle in text, ASCII letters compared without regard to
// case. After an occurrence the search goes on from the next character, so
// overlapping occurrences count ("11" twice in "111"). An empty needle gives 0.
int countOccurrences(std::string_view text, std::string_view needle);

// Pieces between delimiters, empty pieces kept, an empty last piece dropped;
// the empty text gives no piece. The delimiter is only found on character
// boundaries.
std::vector<std::string> split(std::string_view text, std::string_view delimiter);
// Number of pieces split() would give, without building them.
std::size_t countPieces(std::string_view text, std::string_view delimiter);

// Removes ASCII spaces and the full-width space (A1 A1) at both ends.
std::string trim(std::string_view text);

// Replaces every occurrence (on character boundaries) of from by to.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

// The decimal integer a text begins with, after leading blanks and a sign;
// 0 when there is none; saturates at the 32-bit bounds.
std::int32_t readNumber(std::string_view text);

// Whole numbers in plain decimal.
std::string formatInt(long long value);
// A number with a fraction: at most 13 significant digits, no trailing zeros
// and no trailing decimal point.
std::string formatNumber(double value);
// Rounds to the given number of decimals, halves away from zero; a value
// within 1e-12 below a half counts as a half.
double roundHalfAway(double value, int decimals);

// The last n bytes of a text (the whole text when it is shorter).
std::string lastBytes(std::string_view text, std::size_t n);

}  // namespace zr::text
