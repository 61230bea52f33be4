#pragma once
// A cancellation flag shared by the caller and the thread performing a
// request. A transport registers what aborts its network handles; signal()
// sets the flag and runs every registered abort once, on the signalling
// thread, so a blocked network call returns without its thread being killed.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

namespace zr::web {

class CancelToken {
 public:
  using Registration = std::uint64_t;

  void signal() {
    std::map<Registration, std::function<void()>> aborts;
    {
      std::lock_guard lock(mutex_);
      if (cancelled_.exchange(true)) return;
      aborts.swap(aborts_);
      signalling_ = true;
    }
    for (auto& entry : aborts) entry.second();
    std::lock_guard lock(mutex_);
    signalling_ = false;
    changed_.notify_all();
  }

  bool cancelled() const { return cancelled_.load(); }

  // Registers an abort. When the token is already signalled the abort runs at
  // once on the calling thread and 0 is returned.
  Registration onCancel(std::function<void()> abort) {
    {
      std::lock_guard lock(mutex_);
      if (!cancelled_) {
        aborts_.emplace(++next_, std::move(abort));
        return next_;
      }
    }
    abort();
    return 0;
  }

  // Removes an abort before the handles it touches go away. If signal() is
  // running the aborts at this moment, waits until they have finished.
  void forget(Registration id) {
    std::unique_lock lock(mutex_);
    aborts_.erase(id);
    changed_.wait(lock, [&] { return !signalling_; });
  }

  // Waits until the token is signalled or the time has passed; true when signalled.
  template <class Duration>
  bool waitFor(Duration limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return cancelled_.load() && !signalling_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::atomic<bool> cancelled_{false};
  bool signalling_ = false;
  std::map<Registration, std::function<void()>> aborts_;
  Registration next_ = 0;
};

// Unregisters an abort when the scope holding the handles ends.
class CancelRegistration {
 public:
  CancelRegistration(CancelToken& token, std::function<void()> abort)
      : token_(token), id_(token.onCancel(std::move(abort))) {}
  ~CancelRegistration() {
    if (id_ != 0) token_.forget(id_);
  }
  CancelRegistration(const CancelRegistration&) = delete;
  CancelRegistration& operator=(const CancelRegistration&) = delete;

 private:
  CancelToken& token_;
  CancelToken::Registration id_;
};

}  // namespace zr::web
