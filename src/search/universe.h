#pragma once
// The number universes: "000" … "999" (three digits) and "00" … "99" (two
// digits), in ascending order. Entry i (0-based) is i written with leading zeros.
#include <string>

namespace zr::search {

// Appends entry index of the universe of numbers with width digits.
inline void appendEntry(std::string& out, int index, int width) {
  char digits[3];
  for (int k = width - 1; k >= 0; --k) {
    digits[k] = static_cast<char>('0' + index % 10);
    index /= 10;
  }
  out.append(digits, static_cast<std::size_t>(width));
}

inline std::string universeEntry(int index, int width) {
  std::string entry;
  appendEntry(entry, index, width);
  return entry;
}

// The universe index of a text of exactly width ASCII digits, or -1.
inline int entryIndex(const std::string& text, int width) {
  if (static_cast<int>(text.size()) != width) return -1;
  int index = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    index = index * 10 + (c - '0');
  }
  return index;
}

}  // namespace zr::search
