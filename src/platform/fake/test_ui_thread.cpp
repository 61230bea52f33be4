#include "platform/fake/test_ui_thread.h"

#include <chrono>

namespace zr::fake {

TestUiThread::TestUiThread() {
  std::unique_lock lock(mutex_);
  thread_ = std::thread([this] { loop(); });
  threadId_ = thread_.get_id();
}

TestUiThread::~TestUiThread() { shutdown(); }

void TestUiThread::loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) break;
    std::function<void()> task = std::move(queue_.front());
    queue_.pop_front();
    running_ = true;
    ++started_;
    lock.unlock();
    task();
    task = nullptr;  // its captures go on the UI thread, before idle is told
    lock.lock();
    running_ = false;
    if (queue_.empty()) idle_.notify_all();
  }
  // Dropped tasks are freed outside the lock: their captures may post or
  // stop timers on the way out.
  std::deque<std::function<void()>> dropped;
  dropped.swap(queue_);
  idle_.notify_all();
  lock.unlock();
}

void TestUiThread::post(std::function<void()> task) {
  std::lock_guard lock(mutex_);
  if (stopping_) return;
  queue_.push_back(std::move(task));
  wake_.notify_one();
}

bool TestUiThread::onUiThread() const { return std::this_thread::get_id() == threadId_; }

void TestUiThread::setTimer(const void* key, int periodMs, std::function<void()> tick) {
  std::function<void()> old;  // freed outside the lock
  std::lock_guard lock(mutex_);
  auto it = timers_.find(key);
  if (periodMs <= 0) {
    if (it != timers_.end()) {
      old = std::move(it->second.tick);
      timers_.erase(it);
    }
    return;
  }
  Timer& t = timers_[key];
  old = std::move(t.tick);
  t = Timer{periodMs, now_ + periodMs, nextOrder_++, std::move(tick)};
}

bool TestUiThread::waitIdleLocked(std::unique_lock<std::mutex>& lock, int timeoutMs) {
  return idle_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                        [this] { return stopping_ || (queue_.empty() && !running_); });
}

bool TestUiThread::runUntilIdle(int timeoutMs) {
  if (onUiThread()) return false;
  std::unique_lock lock(mutex_);
  return waitIdleLocked(lock, timeoutMs);
}

bool TestUiThread::advance(std::int64_t ms, const std::function<void()>& afterEachTick, int timeoutMs) {
  if (onUiThread()) return false;
  std::unique_lock lock(mutex_);
  const std::int64_t target = now_ + ms;
  for (;;) {
    if (!waitIdleLocked(lock, timeoutMs)) return false;
    if (stopping_) return true;
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      const Timer& t = it->second;
      if (t.due > target) continue;
      if (next == timers_.end() || t.due < next->second.due ||
          (t.due == next->second.due && t.order < next->second.order))
        next = it;
    }
    if (next == timers_.end()) break;
    const void* key = next->first;
    Timer& t = next->second;
    now_ = t.due;
    t.due += t.period;
    const std::uint64_t order = t.order;
    // Runs the tick as it stands when the task runs: a timer stopped or
    // re-armed in between does not tick for this moment.
    queue_.push_back([this, key, order] {
      std::function<void()> tick;
      {
        std::lock_guard inner(mutex_);
        auto it = timers_.find(key);
        if (it == timers_.end() || it->second.order != order) return;
        tick = it->second.tick;
      }
      tick();
    });
    wake_.notify_one();
    if (!waitIdleLocked(lock, timeoutMs)) return false;
    if (afterEachTick) {
      lock.unlock();
      afterEachTick();
      lock.lock();
    }
  }
  now_ = target;
  return true;
}

std::int64_t TestUiThread::now() const {
  std::lock_guard lock(mutex_);
  return now_;
}

bool TestUiThread::idle() const {
  std::lock_guard lock(mutex_);
  return queue_.empty() && !running_;
}

std::uint64_t TestUiThread::tasksStarted() const {
  std::lock_guard lock(mutex_);
  return started_;
}

int TestUiThread::timerPeriod(const void* key) const {
  std::lock_guard lock(mutex_);
  auto it = timers_.find(key);
  return it == timers_.end() ? 0 : it->second.period;
}

int TestUiThread::armedTimers() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(timers_.size());
}

void TestUiThread::shutdown() {
  std::map<const void*, Timer> timers;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    wake_.notify_all();
    timers.swap(timers_);
  }
  if (thread_.joinable()) thread_.join();
}

}  // namespace zr::fake
