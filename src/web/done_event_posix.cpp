#include <condition_variable>
#include <mutex>

#include "web/done_event.h"

namespace zr::web {

struct DoneEvent::Impl {
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
};

DoneEvent::DoneEvent() : impl_(std::make_unique<Impl>()) {}
DoneEvent::~DoneEvent() = default;

void DoneEvent::set() {
  std::lock_guard lock(impl_->mutex);
  impl_->done = true;
  impl_->changed.notify_all();
}

bool DoneEvent::wait(std::chrono::milliseconds limit) {
  std::unique_lock lock(impl_->mutex);
  return impl_->changed.wait_for(lock, limit, [&] { return impl_->done; });
}

}  // namespace zr::web
