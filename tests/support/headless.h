#pragma once
// The whole program without a desktop: every test double, the services made
// of them and the App. The UI thread is a TestUiThread on a virtual clock;
// files live in memory; the web answers from a FakeTransport.
//
//   Headless h;                       // today 2014-03-13, tick count 0
//   shell::installShell(h.app);
//   h.main().open();
//   h.runUntilIdle();                 // handlers and workers done
//   h.advance(30000);                 // the poll timer ticks once
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "platform/fake/fake_clock.h"
#include "platform/fake/memory_file_system.h"
#include "platform/fake/recorders.h"
#include "platform/fake/test_ui_thread.h"
#include "shell/app.h"
#include "web/fake_transport.h"

namespace zr::testing {

struct HeadlessOptions {
  text::Date today{2014, 3, 13};
  std::uint32_t tickCount = 0;
};

struct Headless {
  explicit Headless(HeadlessOptions options = {}) : clock(options.today, options.tickCount) { clock.link(&ui); }

  // Lets running workers end, then stops the UI thread before the App goes,
  // so that no handler runs on a half-destroyed App.
  ~Headless() {
    app.workers.waitIdle(10000);
    ui.shutdown();
  }

  Headless(const Headless&) = delete;
  Headless& operator=(const Headless&) = delete;

  ui::FormModel& main() { return app.main(); }

  // Waits until the UI thread has nothing to do and no worker runs; fails the
  // test after timeoutMs (real time).
  bool runUntilIdle(int timeoutMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      const int leftMs = static_cast<int>(std::max<std::int64_t>(left.count(), 1));
      if (left.count() <= 0 || !app.workers.waitIdle(leftMs) || !ui.runUntilIdle(leftMs)) {
        ADD_FAILURE() << "the program did not come to rest within " << timeoutMs << " ms";
        return false;
      }
      // At rest when no worker runs and no UI task ran while that was seen:
      // only a handler or a worker could start more work.
      const std::uint64_t before = ui.tasksStarted();
      if (app.workers.running() == 0 && ui.idle() && ui.tasksStarted() == before) return true;
    }
  }

  // Moves the virtual clock on, letting each timer tick's handlers and the
  // workers they start finish before the next tick.
  bool advance(std::int64_t ms) {
    bool settled = true;
    bool ok = ui.advance(ms, [&] { settled = runUntilIdle() && settled; });
    if (!ok) ADD_FAILURE() << "the UI thread stayed busy while the clock advanced";
    return ok && settled && runUntilIdle();
  }

  fake::TestUiThread ui;
  fake::FakeClock clock;
  fake::MemoryFileSystem files;
  fake::FakeClipboard clipboard;
  fake::FakeSound sound;
  fake::FakeDialogs dialogs;
  fake::FakeWindowSystem windows;
  fake::FakeProcess process;
  web::FakeTransport http;
  platform::Services services{clock, ui, files, clipboard, sound, dialogs, windows, process, http};
  shell::App app{services};
};

}  // namespace zr::testing
