#pragma once
// Random base sets: size distinct numbers of a universe, drawn one at a time,
// a repeat drawn again. Which numbers a seed yields depends on that sequence
// of draws, so it is kept exactly; membership is a table lookup.
#include <array>
#include <cstdint>
#include <string>

#include "search/random.h"

namespace zr::search {

inline constexpr int kMaxUniverse = 1000;

struct BaseSet {
  int universe = 0;  // M
  int width = 0;     // digits of a member: 3, or 2 for the two-digit universe
  int size = 0;
  std::array<std::uint8_t, kMaxUniverse> member{};  // by universe index

  bool contains(int index) const { return member[static_cast<std::size_t>(index)] != 0; }
  // The base-set text: the members in ascending order separated by single
  // blanks; the empty text for the empty set.
  std::string text() const;
  void appendText(std::string& out) const;
};

// Makes set the result of drawing size distinct picks in [1, universe] with
// the generator as it stands (no seeding). A size of 0 or less gives the empty
// set; a size above the universe, which could never be completed, is not drawn
// (the search refuses such sizes before it draws) and gives the empty set.
void drawPicks(Random& random, int universe, int width, std::int64_t size, BaseSet& set);

// The generation step of an attempt: reseeds twice (the first seeding only
// moves the offset on), then draws the picks.
template <class Reseed>
void generateBaseSet(Random& random, Reseed&& reseedOnce, int universe, int width, std::int64_t size, BaseSet& set) {
  reseedOnce(random);
  reseedOnce(random);
  drawPicks(random, universe, width, size, set);
}

}  // namespace zr::search
