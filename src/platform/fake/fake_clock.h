#pragma once
// A settable clock. Linked to a TestUiThread, its tick count moves on with
// the virtual clock that drives the timers.
#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/services.h"

namespace zr::fake {

class TestUiThread;

class FakeClock : public platform::Clock {
 public:
  explicit FakeClock(text::Date today = {2014, 3, 13}, std::uint32_t tickCount = 0);

  text::Date today() const override;
  std::uint32_t tickCount() const override;

  void setToday(text::Date today);
  // From now on tickCount() starts at ticks (and keeps following a linked UI thread).
  void setTickCount(std::uint32_t ticks);
  void link(const TestUiThread* ui);

 private:
  mutable std::mutex mutex_;
  text::Date today_;
  std::uint32_t base_;
  std::int64_t linkedAtSet_ = 0;  // the UI thread's virtual time when base_ was set
  const TestUiThread* ui_ = nullptr;
};

}  // namespace zr::fake
