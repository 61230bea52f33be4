// The generator, the seeding and the picks of a base set, checked against the
// literal procedure.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "literal_search.h"
#include "search/base_set.h"

namespace zr::search {
namespace {

TEST(RandomTest, FollowsTheCLibraryGenerator) {
  // srand(1): the first outputs of the classic generator.
  Random random{1};
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
  for (int value : expected) EXPECT_EQ(random.next(), value);
}

TEST(RandomTest, StateWrapsAt32Bits) {
  Random random{0xffffffffu};
  EXPECT_EQ(random.next(), static_cast<int>(((0xffffffffu * 214013u + 2531011u) >> 16) & 0x7fff));
}

TEST(RandomTest, RangeRules) {
  struct Case {
    long long a, b;
    long long lo, hi;
  } cases[] = {
      {5, 5, 5, 5}, {1, 1000, 1, 1000}, {900, 700, 700, 900}, {-3, 2, 0, 2}, {-5, -1, 0, 0}, {0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    Random random{12345};
    for (int i = 0; i < 2000; ++i) {
      const long long v = randomInRange(random, c.a, c.b);
      ASSERT_GE(v, c.lo) << c.a << ".." << c.b;
      ASSERT_LE(v, c.hi) << c.a << ".." << c.b;
    }
  }
  // Equal bounds draw nothing; others draw exactly one output.
  Random same{7}, other{7};
  randomInRange(same, 4, 4);
  EXPECT_EQ(same.state, 7u);
  const int out = Random{7}.next();
  EXPECT_EQ(randomInRange(other, 1, 1000), 1 + out % 1000);
}

TEST(ReseedTest, SeedIsTickPlusOffsetAndOffsetMovesOn) {
  SeedOffset offset{0};
  Random random;
  struct Step {
    std::uint32_t tick, seed, offsetAfter;
  } steps[] = {
      {1000, 1000, 332},        // 0 + 1000 % 256 (232) + 100
      {1000, 1332, 484},        // 332 + 1332 % 256 (52) + 100
      {0xffffff00u, 228, 812},  // the seed wraps: 2^32 - 256 + 484
  };
  for (const Step& s : steps) {
    reseed(random, s.tick, offset);
    EXPECT_EQ(random.state, s.seed);
    EXPECT_EQ(offset.load(), s.offsetAfter);
  }
}

TEST(ReseedTest, ThreadsSharingTheOffsetNeverLoseAStep) {
  // Each seeding moves the offset by at least 100: concurrent seedings with one
  // tick count must still give pairwise different seeds.
  SeedOffset offset{0};
  constexpr int kThreads = 4, kEach = 2000;
  std::vector<std::vector<std::uint32_t>> seeds(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      Random random;
      for (int i = 0; i < kEach; ++i) {
        reseed(random, 77, offset);
        seeds[t].push_back(random.state);
      }
    });
  }
  for (auto& th : threads) th.join();
  std::vector<std::uint32_t> all;
  for (auto& s : seeds) all.insert(all.end(), s.begin(), s.end());
  std::sort(all.begin(), all.end());
  EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
}

struct PickCase {
  int universe, width;
  std::vector<long long> sizes;
};

TEST(DrawPicksTest, SamePicksTextAndGeneratorStateAsTheProcedure) {
  const PickCase cases[] = {
      {1000, 3, {0, 1, 2, 50, 700, 800, 999, 1000}},
      {100, 2, {0, 1, 2, 50, 99, 100}},
  };
  for (const PickCase& c : cases) {
    for (long long size : c.sizes) {
      // The literal procedure is slow for large sets: fewer seeds there.
      const std::uint32_t seeds = size >= 700 ? 8 : 150;
      for (std::uint32_t seed = 0; seed < seeds; ++seed) {
        const std::uint32_t state = seed * 2654435761u;
        Random slow{state}, fast{state};
        const literal::Generated expected = literal::drawPicks(slow, c.universe, c.width, size);
        BaseSet set;
        drawPicks(fast, c.universe, c.width, size, set);
        ASSERT_EQ(set.text(), expected.text) << "size " << size << " seed " << state;
        ASSERT_EQ(fast.state, slow.state) << "size " << size << " seed " << state;
        ASSERT_EQ(set.size, static_cast<int>(expected.picks.size()));
        for (int pick : expected.picks) ASSERT_TRUE(set.contains(pick - 1));
      }
    }
  }
}

TEST(DrawPicksTest, NegativeSizeGivesTheEmptySet) {
  Random random{5};
  BaseSet set;
  drawPicks(random, 1000, 3, -4, set);
  EXPECT_EQ(set.text(), "");
  EXPECT_EQ(random.state, 5u);
}

TEST(DrawPicksTest, TextLengths) {
  struct Case {
    int universe, width;
    long long size;
    std::size_t length;
  } cases[] = {{1000, 3, 800, 3199}, {1000, 3, 1000, 3999}, {100, 2, 50, 149}, {1000, 3, 1, 3}};
  for (const Case& c : cases) {
    Random random{99};
    BaseSet set;
    drawPicks(random, c.universe, c.width, c.size, set);
    const std::string text = set.text();
    EXPECT_EQ(text.size(), c.length);
    EXPECT_NE(text.front(), ' ');
    EXPECT_NE(text.back(), ' ');
  }
  Random random{3};
  BaseSet full;
  drawPicks(random, 100, 2, 100, full);
  EXPECT_EQ(full.text().substr(0, 8), "00 01 02");
}

TEST(GenerateBaseSetTest, ReseedsTwiceBeforeDrawing) {
  int seedings = 0;
  Random random;
  BaseSet set;
  generateBaseSet(
      random, [&](Random& r) { r.state = static_cast<std::uint32_t>(++seedings * 1000); }, 1000, 3, 10, set);
  EXPECT_EQ(seedings, 2);
  Random second{2000};
  EXPECT_EQ(set.text(), literal::drawPicks(second, 1000, 3, 10).text);
}

}  // namespace
}  // namespace zr::search
