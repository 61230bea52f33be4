#pragma once
// The UI thread of the tests: posted work runs in order on a thread of its
// own, and timers follow a virtual clock that only advance() moves, so a test
// decides exactly when each tick happens and never sleeps.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "ui/ui_thread.h"

namespace zr::fake {

class TestUiThread : public ui::UiThread {
 public:
  TestUiThread();
  ~TestUiThread() override;  // shutdown()

  void post(std::function<void()> task) override;
  bool onUiThread() const override;
  void setTimer(const void* key, int periodMs, std::function<void()> tick) override;

  // Waits until no task is queued or running; false when that takes longer
  // than timeoutMs (real time). Not from the UI thread itself.
  bool runUntilIdle(int timeoutMs = 10000);
  // Moves the virtual clock on by ms: first runs what is queued, then each
  // timer tick that falls due, in time order (timers due at the same moment
  // in the order they were armed), each on the UI thread and waited for,
  // followed by afterEachTick on the calling thread (for example to let the
  // workers a tick started finish). Not from the UI thread itself.
  // False when the UI thread stayed busy longer than timeoutMs for one step.
  bool advance(std::int64_t ms, const std::function<void()>& afterEachTick = {}, int timeoutMs = 10000);
  std::int64_t now() const;  // virtual milliseconds since construction
  // Nothing queued and nothing running, at this moment.
  bool idle() const;
  // Tasks taken from the queue so far; two equal readings around a check
  // tell that no task ran in between.
  std::uint64_t tasksStarted() const;

  // The period of the timer armed with key, 0 when it is stopped.
  int timerPeriod(const void* key) const;
  int armedTimers() const;

  // Finishes the task that runs, drops what is queued and everything posted
  // later, and ends the thread. Idempotent.
  void shutdown();

 private:
  struct Timer {
    int period = 0;
    std::int64_t due = 0;
    std::uint64_t order = 0;  // arming sequence, breaks ties of due
    std::function<void()> tick;
  };
  void loop();
  bool waitIdleLocked(std::unique_lock<std::mutex>& lock, int timeoutMs);

  mutable std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::deque<std::function<void()>> queue_;
  bool running_ = false;
  bool stopping_ = false;
  std::map<const void*, Timer> timers_;
  std::uint64_t nextOrder_ = 0;
  std::uint64_t started_ = 0;
  std::int64_t now_ = 0;
  std::thread thread_;
  std::thread::id threadId_;
};

}  // namespace zr::fake
