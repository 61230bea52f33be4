#pragma once
// A results portal for the monitor's tests, answering through the
// FakeTransport: pages of draws per day that a test publishes as it goes, and
// a gate that holds chosen requests until the test opens it.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "web/fake_transport.h"

namespace zr::testing {

class MonitorPortal {
 public:
  using Draws = std::vector<std::pair<std::string, std::string>>;  // period, number

  explicit MonitorPortal(web::FakeTransport& http) {
    http.setHandler([this](const web::HttpRequest& request) { return serve(request); });
  }
  ~MonitorPortal() { open(); }

  void publish(const std::string& day, const std::string& period, const std::string& number) {
    std::lock_guard lock(mutex_);
    days_[day].emplace_back(period, number);
  }
  void clear() {
    std::lock_guard lock(mutex_);
    days_.clear();
  }
  // From now on the nth request (1-based, counted over the portal's life)
  // and those after it fail as an unreachable server does.
  void failFrom(int nth) {
    std::lock_guard lock(mutex_);
    failFrom_ = nth;
  }
  // Requests for which held(nth, day) is true wait until open() (at most
  // 10 s); nth counts the requests from 1.
  void holdIf(std::function<bool(int nth, const std::string& day)> held) {
    std::lock_guard lock(mutex_);
    held_ = std::move(held);
    gateOpen_ = false;
  }
  void open() {
    {
      std::lock_guard lock(mutex_);
      gateOpen_ = true;
    }
    gate_.notify_all();
  }

  // Called as each request arrives; its results are kept in request order.
  void setProbe(std::function<std::string()> probe) {
    std::lock_guard lock(mutex_);
    probe_ = std::move(probe);
  }
  std::vector<std::string> probed() const {
    std::lock_guard lock(mutex_);
    return probed_;
  }

  // Waits until n requests have reached the portal; false after 10 s.
  bool waitForAsked(std::size_t n) {
    std::unique_lock lock(mutex_);
    return askedChanged_.wait_for(lock, std::chrono::seconds(10), [&] { return asked_.size() >= n; });
  }

  // Whether a held request gave up waiting for open(): the test then did not
  // go the way it meant to.
  bool gateTimedOut() const {
    std::lock_guard lock(mutex_);
    return gateTimedOut_;
  }

  // The days asked for, in the order of the requests.
  std::vector<std::string> daysAsked() const {
    std::lock_guard lock(mutex_);
    return asked_;
  }

  static std::string page(const Draws& draws) {
    std::string body =
        "<html><head><title>results</title></head><body><table>"
        "<tr><th>period</th><th>number</th><th>-</th></tr>";
    for (const auto& [period, number] : draws) {
      body += "<tr><td class='gray'>" + period + "</td><td class='red big'>" + number + "</td><td>-</td></tr>";
    }
    return body + "</table></body></html>";
  }

 private:
  web::HttpResult serve(const web::HttpRequest& request) {
    const std::string key = "span=";
    auto at = request.path.find(key);
    std::string day = at == std::string::npos ? "" : request.path.substr(at + key.size(), 10);
    std::function<std::string()> probe;
    {
      std::lock_guard lock(mutex_);
      probe = probe_;
    }
    std::string seen = probe ? probe() : std::string();
    std::unique_lock lock(mutex_);
    probed_.push_back(seen);
    asked_.push_back(day);
    askedChanged_.notify_all();
    const int nth = static_cast<int>(asked_.size());
    if (held_ && held_(nth, day) && !gate_.wait_for(lock, std::chrono::seconds(10), [this] { return gateOpen_; })) {
      gateTimedOut_ = true;
    }
    if (failFrom_ > 0 && nth >= failFrom_) return {};
    auto it = days_.find(day);
    return web::FakeTransport::page(page(it == days_.end() ? Draws{} : it->second));
  }

  mutable std::mutex mutex_;
  std::condition_variable gate_, askedChanged_;
  std::map<std::string, Draws> days_;
  std::vector<std::string> asked_, probed_;
  std::function<std::string()> probe_;
  std::function<bool(int, const std::string&)> held_;
  bool gateOpen_ = true;
  bool gateTimedOut_ = false;
  int failFrom_ = 0;
};

}  // namespace zr::testing
