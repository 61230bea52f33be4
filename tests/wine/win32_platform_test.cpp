// The Win32 UI thread and services, run under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "platform/win32/services.h"
#include "platform/win32/ui_thread.h"
#include "text/gbk.h"
#include "wine/message_pump.h"

namespace zr::platform::win32 {
namespace {

using wine_test::pumpUntil;

TEST(Win32UiThreadTest, WorkPostedFromManyThreadsRunsOnTheUiThreadInEachThreadsOrder) {
  Win32UiThread ui;
  constexpr int kThreads = 4, kTasks = 500;
  std::vector<std::vector<int>> seen(kThreads);
  std::atomic<int> offThread{0};
  std::atomic<int> done{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kTasks; ++i) {
        ui.post([&, t, i] {
          if (!ui.onUiThread()) ++offThread;
          seen[t].push_back(i);
          ++done;
        });
      }
    });
  }
  for (auto& thread : threads) thread.join();
  ASSERT_TRUE(pumpUntil([&] { return done == kThreads * kTasks; }));
  EXPECT_EQ(offThread, 0);
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(seen[t].size(), static_cast<std::size_t>(kTasks));
    for (int i = 0; i < kTasks; ++i) EXPECT_EQ(seen[t][i], i);
  }
}

TEST(Win32UiThreadTest, MoreWorkThanAThreadMayHavePostedMessagesAllRunsInOrder) {
  // Windows keeps at most 10000 posted messages per thread by default; a
  // worker's burst while the loop is busy must not lose any of its work.
  Win32UiThread ui;
  constexpr int kTasks = 30000;
  std::vector<int> seen;
  seen.reserve(kTasks);
  std::thread([&] {
    for (int i = 0; i < kTasks; ++i) ui.post([&, i] { seen.push_back(i); });
  }).join();
  ASSERT_TRUE(pumpUntil([&] { return seen.size() == static_cast<std::size_t>(kTasks); }, 20000)) << seen.size();
  for (int i = 0; i < kTasks; ++i) ASSERT_EQ(seen[i], i);
}

TEST(Win32UiThreadTest, WorkPostedAfterShutDownIsDroppedAndFreed) {
  Win32UiThread ui;
  auto token = std::make_shared<int>(0);
  bool ran = false;
  ui.shutDown();
  ui.post([token, &ran] { ran = true; });
  EXPECT_EQ(token.use_count(), 1);  // the dropped task let go of what it held
  pumpUntil([] { return false; }, 50);
  EXPECT_FALSE(ran);
}

TEST(Win32UiThreadTest, QuitEndsTheLoopAfterTheWorkPostedBeforeIt) {
  Win32UiThread ui;
  int ran = 0;
  std::thread worker([&] {
    ui.post([&] { ++ran; });
    ui.quit(7);
    ui.post([&] { ++ran; });
  });
  worker.join();
  EXPECT_EQ(ui.run(), 7);
  EXPECT_GE(ran, 1);
}

TEST(Win32UiThreadTest, TimerArmedFromAWorkerTicksOnTheUiThreadUntilStopped) {
  Win32UiThread ui;
  int key = 0;
  std::atomic<int> ticks{0};
  std::atomic<int> offThread{0};
  std::thread([&] {
    ui.setTimer(&key, 20, [&] {
      if (!ui.onUiThread()) ++offThread;
      ++ticks;
    });
  }).join();
  ASSERT_TRUE(pumpUntil([&] { return ticks >= 3; }));
  EXPECT_EQ(offThread, 0);

  ui.setTimer(&key, 0, {});
  int atStop = ticks;
  pumpUntil([] { return false; }, 150);
  EXPECT_EQ(ticks, atStop);

  // Re-armed, it ticks again with the new routine.
  std::atomic<int> rearmed{0};
  ui.setTimer(&key, 10, [&] { ++rearmed; });
  EXPECT_TRUE(pumpUntil([&] { return rearmed >= 2; }));
  EXPECT_EQ(ticks, atStop);
}

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    dir_ = std::filesystem::path(base) / (L"zrtk-fs-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // A GBK path inside the test folder.
  std::string path(const std::string& utf8Name) const {
    return text::wideToGbk(dir_.wstring()) + "\\" + text::utf8ToGbk(utf8Name);
  }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_), {}));
  }

  std::filesystem::path dir_;
  Win32FileSystem files_;
};

TEST_F(Win32FileSystemTest, WritesAndReadsAChineseNamedFileWholeAndLeavesNoTemporaryFile) {
  const std::string plan = path("计划区.txt");
  const std::string first = text::utf8ToGbk("050期:Pellor|800注 中\r\n");
  ASSERT_TRUE(files_.writeFileAtomic(plan, first));
  EXPECT_EQ(files_.readFile(plan), first);
  EXPECT_TRUE(std::filesystem::exists(dir_ / L"计划区.txt"));

  ASSERT_TRUE(files_.writeFileAtomic(plan, ""));
  EXPECT_EQ(files_.readFile(plan), "");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(Win32FileSystemTest, AFailedWriteKeepsTheOldFileAndAMissingFileReadsAsNothing) {
  EXPECT_EQ(files_.readFile(path("none.txt")), std::nullopt);
  EXPECT_FALSE(files_.writeFileAtomic(path("no-such-folder\\x.txt"), "x"));

  const std::string plan = path("plan.txt");
  ASSERT_TRUE(files_.writeFileAtomic(plan, "old"));
  // A reader holding the file without sharing deletion blocks the replace.
  HANDLE held = CreateFileW((dir_ / L"plan.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  bool replaced = files_.writeFileAtomic(plan, "new");
  CloseHandle(held);
  EXPECT_EQ(files_.readFile(plan), replaced ? "new" : "old");
  EXPECT_EQ(entries(), 1u);
}

TEST(Win32ClipboardTest, TextGoesOnAsUnicodeAndAsGbkBytes) {
  Win32Clipboard clipboard;
  struct Case {
    const char* utf8;
  } cases[] = {{"[Quovix] <20140313050期>-重庆五星开-<12345> [Quovix]"}, {""}, {"003 017 245 "}};
  for (const Case& c : cases) {
    const std::string gbk = text::utf8ToGbk(c.utf8);
    ASSERT_TRUE(clipboard.setText(gbk)) << c.utf8;
    EXPECT_EQ(clipboard.text(), gbk) << c.utf8;

    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE unicode = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(unicode, nullptr);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(unicode))), text::gbkToWide(gbk)) << c.utf8;
    GlobalUnlock(unicode);
    HANDLE ansi = GetClipboardData(CF_TEXT);
    ASSERT_NE(ansi, nullptr);
    // The bytes are GBK whatever the system's code page (Wine here: 1252).
    EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(ansi))), gbk) << c.utf8;
    GlobalUnlock(ansi);
    CloseClipboard();
  }
}

TEST(Win32ClockTest, TodayIsTheLocalDate) {
  Win32Clock clock;
  SYSTEMTIME now;
  GetLocalTime(&now);
  text::Date today = clock.today();
  EXPECT_EQ(today.year, now.wYear);
  EXPECT_EQ(today.month, now.wMonth);
  EXPECT_EQ(today.day, now.wDay);
}

}  // namespace
}  // namespace zr::platform::win32
