// A simulated day: the portal publishes draw after draw, the monitor polls
// every 30 s of virtual time, and each new draw refreshes the list, adds its
// plan line and runs the search again. Every draw must land in the plan
// exactly once, the plan file must equal the plan area, and the program's
// memory must not grow with the day.
//
// CI runs a few draws. The whole day (120 draws, one every 10 minutes):
//   ZR_SOAK_DRAWS=120 build/soak/tests/test_robust --gtest_filter='Soak.*'
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "robust/world.h"
#include "shell/counters.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace zr {
namespace {

using testing::World;

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

TEST(Soak, ADayOfDraws) {
  const int draws = std::clamp(envInt("ZR_SOAK_DRAWS", 4), 1, 120);
  const int ticksPerDraw = std::max(1, envInt("ZR_SOAK_TICKS_PER_DRAW", 20));  // 10 minutes of 30 s polls
  World w(0);
  w.start();
  ASSERT_EQ(w.rows(), 120);
  ASSERT_TRUE(w.m().checked(mf::选择框1));
  w.m().setText(mf::编辑框_容对_左, "1");
  w.m().setText(mf::编辑框_容对_右, "3");
  w.click(mf::按钮_搜索);  // the plan's first line needs a search made before the draw

  long firstKiB = 0, peakKiB = 0;
  for (int d = 1; d <= draws; ++d) {
    w.portal.publish();
    for (int t = 0; t < ticksPerDraw; ++t) ASSERT_TRUE(w.h.advance(30000)) << "draw " << d << " tick " << t;
    ASSERT_EQ(w.rows(), 120 + d);
    ASSERT_EQ(w.lastRow(0), portal::periodText(d));
    ASSERT_EQ(w.searchNotice(), GBK("搜索提示：[全部任务搜索完毕!]")) << "draw " << d;
    ASSERT_EQ(text::countPieces(w.m().text(mf::编辑框_计划区), "\r\n"), static_cast<std::size_t>(d));
    const long kib = residentKiB();
    if (d == std::max(1, draws / 4)) firstKiB = kib;
    peakKiB = std::max(peakKiB, kib);
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

  std::printf("soak: %d draws, %d ticks each; resident %ld KiB at a quarter, %ld KiB at the peak\n", draws,
              ticksPerDraw, firstKiB, peakKiB);
  // Over a long run the growth after the first quarter stays small: nothing
  // accumulates per draw or per poll beyond the plan's own text.
  if (draws >= 40) EXPECT_LT(peakKiB - firstKiB, 32 * 1024);
}

}  // namespace
}  // namespace zr
