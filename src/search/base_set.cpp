#include "search/base_set.h"

#include "search/universe.h"

namespace zr::search {

namespace {

// The draw is randomInRange(1, M): 1 + output mod M, taken here as the
// 0-based index output mod M. A constant M lets the compiler avoid a division.
template <int M>
void drawInto(Random& random, int size, std::uint8_t* member) {
  for (int n = 0; n < size; ++n) {
    int index;
    do {
      index = random.next() % M;
    } while (member[index]);
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
  bool first = true;
  for (int i = 0; i < universe; ++i) {
    if (!member[static_cast<std::size_t>(i)]) continue;
    if (!first) out.push_back(' ');
    first = false;
    appendEntry(out, i, width);
  }
}

std::string BaseSet::text() const {
  std::string out;
  out.reserve(static_cast<std::size_t>(size) * static_cast<std::size_t>(width + 1));
  appendText(out);
  return out;
}

}  // namespace zr::search
