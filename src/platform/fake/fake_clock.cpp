#include "platform/fake/fake_clock.h"

#include "platform/fake/test_ui_thread.h"

namespace zr::fake {

FakeClock::FakeClock(text::Date today, std::uint32_t tickCount) : today_(today), base_(tickCount) {}

text::Date FakeClock::today() const {
  std::lock_guard lock(mutex_);
  return today_;
}

std::uint32_t FakeClock::tickCount() const {
  std::lock_guard lock(mutex_);
  if (!ui_) return base_;
  return static_cast<std::uint32_t>(base_ + static_cast<std::uint64_t>(ui_->now() - linkedAtSet_));
}

void FakeClock::setToday(text::Date today) {
  std::lock_guard lock(mutex_);
  today_ = today;
}

void FakeClock::setTickCount(std::uint32_t ticks) {
  std::lock_guard lock(mutex_);
  base_ = ticks;
  linkedAtSet_ = ui_ ? ui_->now() : 0;
}

void FakeClock::link(const TestUiThread* ui) {
  std::lock_guard lock(mutex_);
  const std::uint32_t current = ui_ ? static_cast<std::uint32_t>(base_ + (ui_->now() - linkedAtSet_)) : base_;
  ui_ = ui;
  base_ = current;
  linkedAtSet_ = ui_ ? ui_->now() : 0;
}

}  // namespace zr::fake
