// The test doubles other tests stand on: the UI thread's queue and clock, and
// the folder that stands in for drive D:.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>

#include "platform/fake/fake_clock.h"
#include "platform/fake/memory_file_system.h"
#include "platform/fake/temp_dir_file_system.h"
#include "platform/fake/test_ui_thread.h"
#include "text/gbk.h"

namespace zr::fake {
namespace {

TEST(TestUiThread, RunsPostsInOrderAndDropsThemAfterShutdown) {
  TestUiThread ui;
  std::vector<int> order;
  for (int i = 0; i < 100; ++i) ui.post([&, i] { order.push_back(i); });
  ASSERT_TRUE(ui.runUntilIdle());
  ASSERT_EQ(order.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
  ui.shutdown();
  ui.post([&] { order.push_back(-1); });
  EXPECT_TRUE(ui.runUntilIdle());
  EXPECT_EQ(order.size(), 100u);
}

TEST(TestUiThread, TimersFollowOnlyTheVirtualClock) {
  TestUiThread ui;
  std::atomic<int> ticks{0};
  int key;
  ui.setTimer(&key, 30000, [&] { ticks++; });
  EXPECT_EQ(ui.timerPeriod(&key), 30000);
  ASSERT_TRUE(ui.runUntilIdle());
  EXPECT_EQ(ticks, 0);
  ASSERT_TRUE(ui.advance(29999));
  EXPECT_EQ(ticks, 0);
  int settled = 0;
  ASSERT_TRUE(ui.advance(60001, [&] { ++settled; }));
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(settled, 3);
  EXPECT_EQ(ui.now(), 90000);
  ui.setTimer(&key, 0, {});
  ASSERT_TRUE(ui.advance(90000));
  EXPECT_EQ(ticks, 3);
}

// A timer stopped by the tick before it, due at the same moment, does not tick.
TEST(TestUiThread, StoppedByAnEarlierTickDoesNotTick) {
  TestUiThread ui;
  std::atomic<int> ticks{0};
  int a, b;
  ui.setTimer(&a, 100, [&] { ui.setTimer(&b, 0, {}); });
  ui.setTimer(&b, 100, [&] { ticks++; });
  ASSERT_TRUE(ui.advance(1000));
  EXPECT_EQ(ticks, 0);
}

TEST(FakeClock, TickCountFollowsTheLinkedUiThread) {
  TestUiThread ui;
  FakeClock clock({2015, 1, 1}, 4294967000u);
  clock.link(&ui);
  ASSERT_TRUE(ui.advance(1000));
  EXPECT_EQ(clock.tickCount(), 704u);  // wraps like the real 32-bit count
  clock.setTickCount(5);
  ASSERT_TRUE(ui.advance(10));
  EXPECT_EQ(clock.tickCount(), 15u);
  EXPECT_EQ(clock.today(), (text::Date{2015, 1, 1}));
}

TEST(MemoryFileSystem, FailedWritesKeepTheOldContent) {
  MemoryFileSystem files;
  const std::string path = GBK("D:\\计划区.txt");
  EXPECT_FALSE(files.readFile(path));
  EXPECT_TRUE(files.writeFileAtomic(path, "old"));
  files.setWritable(false);
  EXPECT_FALSE(files.writeFileAtomic(path, "new"));
  EXPECT_EQ(files.readFile(path), "old");
  EXPECT_EQ(files.writeCount(), 2);
}

TEST(TempDirFileSystem, ProgramPathsLandInTheFolder) {
  std::filesystem::path root;
  {
    TempDirFileSystem files;
    root = files.root();
    const std::string path = GBK("D:\\计划区.txt");
    EXPECT_FALSE(files.readFile(path));
    const std::string bytes("a\0b\xb9\xd2", 5);
    ASSERT_TRUE(files.writeFileAtomic(path, bytes));
    ASSERT_TRUE(files.writeFileAtomic(path, bytes + "more"));
    EXPECT_EQ(files.readFile(path), bytes + "more");
    EXPECT_EQ(files.localPath(path), root / std::filesystem::path(u8"计划区.txt"));
    std::ifstream direct(files.localPath(path), std::ios::binary);
    EXPECT_TRUE(direct.good());
    // Only the file itself: no temporary left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root), std::filesystem::directory_iterator()), 1);
    files.setWritable(false);
    EXPECT_FALSE(files.writeFileAtomic(path, "x"));
    EXPECT_EQ(files.readFile(path), bytes + "more");
  }
  EXPECT_FALSE(std::filesystem::exists(root));
}

}  // namespace
}  // namespace zr::fake
