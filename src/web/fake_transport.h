#pragma once
// A scripted HttpTransport for tests: records every request and stored
// cookie, answers from a handler or from results keyed by path or address,
// and can play a server that never answers until the request is cancelled.
// Safe to use from several threads.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "web/transport.h"

namespace zr::web {

class FakeTransport : public HttpTransport {
 public:
  struct StoredCookie {
    std::string address, name, data;
  };
  using Handler = std::function<HttpResult(const HttpRequest&)>;

  FakeTransport() = default;
  // A request abandoned at its time-out may still be inside perform(); wait
  // for it so that it never touches a destroyed double.
  ~FakeTransport() override {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return finished_ == started_; });
  }

  // A result with the body and an "HTTP/1.1 200 OK" header block.
  static HttpResult page(std::string body, std::string extraHeaderLines = {}) {
    HttpResult result;
    result.opened = true;
    result.rawHeaders = "HTTP/1.1 200 OK\r\n" + extraHeaderLines + "\r\n";
    result.body = std::move(body);
    return result;
  }

  // The answer for every request not matched by a scripted path or address.
  void setHandler(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
  }
  // Scripted answers; the key is the request's path with its query (for
  // example "/kaijiang/kaijiang?lotId=...") or its whole address.
  void answer(const std::string& pathOrAddress, HttpResult result) {
    std::lock_guard lock(mutex_);
    answers_[pathOrAddress] = std::move(result);
  }
  // While set, every request blocks until its token is cancelled and then
  // returns an unopened result.
  void setSlow(bool slow) {
    std::lock_guard lock(mutex_);
    slow_ = slow;
  }

  HttpResult perform(const HttpRequest& request, CancelToken& cancel) override {
    Handler handler;
    HttpResult result;  // unopened: what an unreachable server gives
    bool slow;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
      slow = slow_;
      if (auto it = answers_.find(request.path); it != answers_.end()) {
        result = it->second;
      } else if (auto it2 = answers_.find(request.address); it2 != answers_.end()) {
        result = it2->second;
      } else {
        handler = handler_;
      }
      ++started_;
    }
    changed_.notify_all();
    if (slow) {
      waitUntilCancelled(cancel);
      result = HttpResult{};
    } else if (handler) {
      result = handler(request);
    }
    {
      // Notified under the lock: the destructor, once it sees the count,
      // must not destroy the condition while this call still uses it.
      std::lock_guard lock(mutex_);
      ++finished_;
      changed_.notify_all();
    }
    return result;
  }

  void storeCookie(const std::string& address, const std::string& name, const std::string& data) override {
    {
      std::lock_guard lock(mutex_);
      cookies_.push_back({address, name, data});
    }
    changed_.notify_all();
  }

  std::vector<HttpRequest> requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }
  std::vector<StoredCookie> cookies() const {
    std::lock_guard lock(mutex_);
    return cookies_;
  }
  // Drops the requests and cookies recorded so far (the counts stay), so
  // that a long run keeps no more than it needs.
  void forgetRecords() {
    std::lock_guard lock(mutex_);
    requests_.clear();
    cookies_.clear();
  }
  std::size_t finishedCount() const {
    std::lock_guard lock(mutex_);
    return finished_;
  }

  // Waits until at least count requests have started (or finished); false on time-out.
  bool waitForStarted(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return started_ >= count; });
  }
  bool waitForFinished(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return finished_ >= count; });
  }

 private:
  void waitUntilCancelled(CancelToken& cancel) {
    CancelRegistration wake(cancel, [this] {
      std::lock_guard lock(mutex_);
      changed_.notify_all();
    });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return cancel.cancelled(); });
  }

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  Handler handler_;
  std::map<std::string, HttpResult> answers_;
  bool slow_ = false;
  std::vector<HttpRequest> requests_;
  std::vector<StoredCookie> cookies_;
  std::size_t started_ = 0, finished_ = 0;
};

}  // namespace zr::web
