#pragma once
// The classic C-library generator and the seeding of the search: every seed is
// the millisecond tick count plus a process-wide offset that each seeding
// moves on, so two seedings within one millisecond still differ.
#include <atomic>
#include <cstdint>

namespace zr::search {

// One thread's generator state. Each search keeps its own, on its own thread.
struct Random {
  std::uint32_t state = 0;

  // 0 … 32767.
  int next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7fffu);
  }
};

// The offset that every seeding reads and moves on; shared by all threads.
using SeedOffset = std::atomic<std::uint32_t>;

// seed := tick + offset; offset := offset + seed mod 256 + 100, as one step.
inline void reseed(Random& random, std::uint32_t tick, SeedOffset& offset) {
  std::uint32_t old = offset.load(std::memory_order_relaxed);
  std::uint32_t seed;
  do {
    seed = tick + old;
  } while (!offset.compare_exchange_weak(old, old + seed % 256u + 100u, std::memory_order_relaxed));
  random.state = seed;
}

// A whole number in [a, b], both included, bounds in either order; a bound
// below 0 counts as 0.
inline std::int64_t randomInRange(Random& random, std::int64_t a, std::int64_t b) {
  if (a < 0) a = 0;
  if (b < 0) b = 0;
  std::int64_t lo = a < b ? a : b, hi = a < b ? b : a;
  if (lo == hi) return lo;
  return lo + random.next() % (hi - lo + 1);
}

}  // namespace zr::search
