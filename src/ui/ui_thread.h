#pragma once
// The user-interface thread: the one thread that runs event handlers, one at a
// time, in the order they were posted. The real one is the Win32 message loop;
// the test one (platform/fake/test_ui_thread.h) runs posted work on a thread
// of its own and drives timers from a virtual clock.
#include <functional>

namespace zr::ui {

class UiThread {
 public:
  virtual ~UiThread() = default;
  // Any thread; never waits for the UI thread. Work posted after shut-down
  // has begun is dropped.
  virtual void post(std::function<void()> task) = 0;
  virtual bool onUiThread() const = 0;
  // Arms (or, with periodMs <= 0, stops) the timer identified by key; tick
  // runs on the UI thread once per period until the timer is re-armed or
  // stopped. Any thread.
  virtual void setTimer(const void* key, int periodMs, std::function<void()> tick) = 0;
};

}  // namespace zr::ui
