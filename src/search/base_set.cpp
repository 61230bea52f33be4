#include "search/base_set.h"

#include <cstring>

namespace zr::search {

namespace {

// The draw is randomInRange(1, M): 1 + output mod M, taken here as the
// 0-based index output mod M. A constant M lets the compiler avoid a division.
// A repeat is drawn again; counting only the new picks instead of branching
// on each repeat gives the same draws without a mispredicted branch per draw.
template <int M>
void drawInto(Random& random, int size, std::uint8_t* member) {
  for (int n = 0; n < size;) {
    const int index = random.next() % M;
    n += member[index] ^ 1;
    member[index] = 1;
  }
}

void drawAnyUniverse(Random& random, int universe, int size, std::uint8_t* member) {
  for (int n = 0; n < size; ++n) {
    std::int64_t index;
    do {
      index = randomInRange(random, 1, universe) - 1;
    } while (member[index]);
    member[index] = 1;
  }
}

// "000 " … "999 "; a two-digit entry is the last three bytes of its four.
const std::array<std::array<char, 4>, 1000>& entries() {
  static const auto table = [] {
    std::array<std::array<char, 4>, 1000> t{};
    for (int i = 0; i < 1000; ++i)
      t[static_cast<std::size_t>(i)] = {static_cast<char>('0' + i / 100), static_cast<char>('0' + i / 10 % 10),
                                        static_cast<char>('0' + i % 10), ' '};
    return t;
  }();
  return table;
}

}  // namespace

void drawPicks(Random& random, int universe, int width, std::int64_t size, BaseSet& set) {
  set.universe = universe;
  set.width = width;
  set.member.fill(0);
  set.size = 0;
  if (size <= 0 || size > universe || universe > kMaxUniverse) return;
  const int n = static_cast<int>(size);
  switch (universe) {
    case 1000:
      drawInto<1000>(random, n, set.member.data());
      break;
    case 100:
      drawInto<100>(random, n, set.member.data());
      break;
    default:
      drawAnyUniverse(random, universe, n, set.member.data());
  }
  set.size = n;
}

void BaseSet::appendText(std::string& out) const {
  if (size <= 0) return;
  // Every member takes width digits and a blank. Each entry is written
  // whether it is a member or not, and only a member moves the end on: no
  // branch per entry. The last member's blank and the slack are cut off.
  const std::size_t step = static_cast<std::size_t>(width) + 1;
  const std::size_t start = out.size();
  out.resize(start + (static_cast<std::size_t>(size) + 1) * step);
  char* p = out.data() + start;
  const auto& table = entries();
  const std::size_t skip = 3 - static_cast<std::size_t>(width);
  for (int i = 0; i < universe; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (width == 3) {
      std::memcpy(p, table[k].data(), 4);
    } else {
      std::memcpy(p, table[k].data() + skip, step);
    }
    p += member[k] * step;
  }
  out.resize(start + static_cast<std::size_t>(size) * step - 1);
}

std::string BaseSet::text() const {
  std::string out;
  appendText(out);
  return out;
}

}  // namespace zr::search
