#pragma once
// The Win32 UI thread: the thread that runs the message loop. Work from any
// thread goes into one queue of our own, and a registered message on a
// message-only window wakes the loop to run it; timers are window timers of
// that window.
#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "ui/ui_thread.h"

namespace zr::platform::win32 {

class Win32UiThread final : public ui::UiThread {
 public:
  // Must be constructed on the thread that will run the loop.
  Win32UiThread();
  ~Win32UiThread() override;
  Win32UiThread(const Win32UiThread&) = delete;
  Win32UiThread& operator=(const Win32UiThread&) = delete;

  void post(std::function<void()> task) override;
  bool onUiThread() const override;
  void setTimer(const void* key, int periodMs, std::function<void()> tick) override;

  // Runs the message loop until quit(); returns the exit code of WM_QUIT.
  // Dialog navigation (Tab, arrows) works in top-level windows marked with
  // markNavigable().
  int run();
  // Ends the loop once the work posted so far has run. Any thread.
  void quit(int code);
  // From here on posted work is dropped. Any thread.
  void shutDown();

  static void markNavigable(HWND top);

 private:
  struct Timer {
    UINT_PTR id = 0;
    int periodMs = 0;
    std::function<void()> tick;
    bool armed = false;  // whether SetTimer holds it now (UI thread only)
  };

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void applyTimer(const void* key);
  void fireTimer(UINT_PTR id);
  void runQueued();
  void dropPending();

  DWORD threadId_;
  HWND hwnd_ = nullptr;
  UINT taskMessage_;
  mutable std::mutex mutex_;
  bool shutDown_ = false;
  // Posted work, oldest first. Windows bounds a thread's posted messages
  // (10000 by default), so the work is not posted message by message: one
  // wake-up message stands for the whole queue.
  std::deque<std::function<void()>> queue_;
  bool wakePosted_ = false;
  std::map<const void*, Timer> timers_;
  std::map<UINT_PTR, const void*> timerKeys_;
  UINT_PTR nextTimerId_ = 1;
};

}  // namespace zr::platform::win32
