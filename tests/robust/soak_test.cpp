// A simulated day: the portal publishes draw after draw, the monitor polls
// every 30 s of virtual time, and each new draw refreshes the list, adds its
// plan line and runs the search again. Every draw must land in the plan
// exactly once, the plan file must equal the plan area, and the program's
// heap must not grow with the day.
//
// By default 120 draws, one every two minutes (4 polls each; 40 draws under
// ThreadSanitizer). The day's real schedule, one draw every 10 minutes, and
// its peak memory:
//   ZR_SOAK_TICKS_PER_DRAW=20 /usr/bin/time -v build/linux/tests/test_robust --gtest_filter='Soak.*'
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZR_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZR_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define ZR_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZR_TSAN 1
#endif
#endif
#ifdef ZR_SANITIZED
// From the sanitizers' allocator interface (GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

#include "robust/world.h"
#include "shell/counters.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace zr {
namespace {

using testing::World;

// ThreadSanitizer makes each of the day's thousand-odd threads costly (its
// shadow of every new stack), and its heap count grows with the threads
// made where the other builds' stays flat: under it a third of the day is
// run, for the races, and the heap is not weighed. The whole day runs in the other builds.
#ifdef ZR_TSAN
constexpr int kDefaultDraws = 40;
constexpr bool kWeighHeap = false;
#else
constexpr int kDefaultDraws = 120;
constexpr bool kWeighHeap = true;
#endif

int envInt(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::atoi(value) : fallback;
}

// Resident set size in KiB, from /proc.
long residentKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * 4;
}

// Bytes of heap in use. Under a sanitizer the resident size also holds its
// quarantine and shadow memory, so only the allocator's own count tells.
long heapKiB() {
#ifdef ZR_SANITIZED
  return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
  const struct mallinfo2 info = mallinfo2();
  return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
#endif
}

TEST(Soak, ADayOfDraws) {
  const int draws = std::clamp(envInt("ZR_SOAK_DRAWS", kDefaultDraws), 1, 120);
  const int ticksPerDraw = std::max(1, envInt("ZR_SOAK_TICKS_PER_DRAW", 4));  // polls of 30 s between draws
  World w(0);
  w.start();
  ASSERT_EQ(w.rows(), 120);
  ASSERT_TRUE(w.m().checked(mf::选择框1));
  w.m().setText(mf::编辑框_容对_左, "1");
  w.m().setText(mf::编辑框_容对_右, "3");
  w.click(mf::按钮_搜索);  // the plan's first line needs a search made before the draw

  long firstHeapKiB = 0, peakHeapKiB = 0, peakKiB = 0;
  for (int d = 1; d <= draws; ++d) {
    w.portal.publish();
    for (int t = 0; t < ticksPerDraw; ++t) ASSERT_TRUE(w.h.advance(30000)) << "draw " << d << " tick " << t;
    ASSERT_EQ(w.rows(), 120 + d);
    ASSERT_EQ(w.lastRow(0), portal::periodText(d));
    ASSERT_EQ(w.searchNotice(), GBK("搜索提示：[全部任务搜索完毕!]")) << "draw " << d;
    ASSERT_EQ(text::countPieces(w.m().text(mf::编辑框_计划区), "\r\n"), static_cast<std::size_t>(d));
    // The doubles' own logs are not the program's memory: the portal's
    // requests go, the chimes played are counted out.
    w.h.http.forgetRecords();
    std::size_t chimeBytes = 0;
    for (const auto& wav : w.h.sound.played()) chimeBytes += wav.size();
    const long heap = heapKiB() - static_cast<long>(chimeBytes / 1024);
    if (d == std::max(1, draws / 4)) firstHeapKiB = heap;
    peakHeapKiB = std::max(peakHeapKiB, heap);
    peakKiB = std::max(peakKiB, residentKiB());
  }
  EXPECT_EQ(w.h.sound.playCount(), draws);

  // Each period's line once, in order.
  const auto lines = text::split(w.m().text(mf::编辑框_计划区), "\r\n");
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(draws));
  for (int d = 1; d <= draws; ++d) {
    EXPECT_TRUE(lines[static_cast<std::size_t>(d - 1)].starts_with(portal::periodText(d) + GBK("期:")))
        << text::gbkToUtf8(lines[static_cast<std::size_t>(d - 1)]);
  }
  ASSERT_TRUE(w.h.advance(shell::kPlanWriteIntervalMs));
  EXPECT_EQ(w.planFile(), w.m().text(mf::编辑框_计划区));

  std::printf("soak: %d draws, %d polls each; heap %ld KiB at a quarter, %ld KiB at the peak; resident peak %ld KiB\n",
              draws, ticksPerDraw, firstHeapKiB, peakHeapKiB, peakKiB);
  // After the first quarter the heap grows by little more than the plan's
  // and the list's own text (and the notification forms the window double
  // keeps, about 2 KiB a draw): nothing accumulates per draw or per poll.
  if (kWeighHeap && draws >= 40) {
    EXPECT_LT(peakHeapKiB - firstHeapKiB, 512);
  }
}

}  // namespace
}  // namespace zr
