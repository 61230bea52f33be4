#pragma once
// The demo portal's pages served through the transport double: a fixed
// history for every day before today and, for today, as many draws as the
// test has published.
#include <mutex>
#include <string>

#include "text/dates.h"
#include "tools/portal/draw_book.h"
#include "web/fake_transport.h"

namespace zr::testing {

class PortalDouble {
 public:
  PortalDouble(web::FakeTransport& http, text::Date today, int publishedToday)
      : today_(today), published_(publishedToday) {
    http.setHandler([this](const web::HttpRequest& request) { return answer(request); });
  }

  void publish(int more = 1) {
    std::lock_guard lock(mutex_);
    published_ += more;
  }
  int published() const {
    std::lock_guard lock(mutex_);
    return published_;
  }
  void setDown(bool down) {
    std::lock_guard lock(mutex_);
    down_ = down;
  }

 private:
  web::HttpResult answer(const web::HttpRequest& request) {
    std::lock_guard lock(mutex_);
    if (down_) return {};
    const auto at = request.path.find("span=");
    if (at == std::string::npos) return {};
    auto day = text::parseDate(request.path.substr(at + 5, 10));
    if (!day) return web::FakeTransport::page("<html></html>");
    const long ahead = text::daysBetween(today_, *day);
    const int count = ahead < 0 ? portal::kDrawsPerDay : ahead == 0 ? published_ : 0;
    return web::FakeTransport::page(portal::resultsPage(*day, count));
  }

  mutable std::mutex mutex_;
  text::Date today_;
  int published_;
  bool down_ = false;
};

}  // namespace zr::testing
