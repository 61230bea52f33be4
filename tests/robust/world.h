#pragma once
// The whole program headless against a results portal that can fail: each
// day's page can be replaced by a fault, and a gate can hold every answer
// back until the test opens it, so a test can act while a retrieval waits.
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "app/wiring/wiring.h"
#include "support/headless.h"
#include "text/dates.h"
#include "text/gbk.h"
#include "tools/portal/draw_book.h"
#include "web/fake_transport.h"
#include "web/fetch.h"
#include "web/transport.h"

namespace zr::testing {

enum class Fault {
  None,
  Down,          // nothing answers: the request cannot be opened
  ClosedAtOnce,  // opened, then closed before a byte of header or body
  TimedOut,      // what the fetcher returns when the answer comes after its time-out
  ErrorStatus,   // a 500 page instead of the results
  NotFound,      // a 404 page
  Truncated,     // the page cut off inside its first draw row
  NoRows,        // a results page of a day without results
  Huge,          // the rows followed by more than the body limit of padding
  HugeOpenRow,   // a row that opens and never closes, longer than the body limit
};

inline web::HttpResult withStatus(const std::string& statusLine, std::string body) {
  web::HttpResult result = web::FakeTransport::page(std::move(body));
  result.rawHeaders = statusLine + "\r\n\r\n";
  return result;
}

class FaultPortal {
 public:
  FaultPortal(web::FakeTransport& http, text::Date today, int publishedToday)
      : today_(today), published_(publishedToday) {
    http.setHandler([this](const web::HttpRequest& request) { return answer(request); });
  }
  // Stops holding answers back, so that no request waits on a portal that is gone.
  ~FaultPortal() { setGate(true); }

  void publish(int more = 1) {
    std::lock_guard lock(mutex_);
    published_ += more;
  }
  int published() const {
    std::lock_guard lock(mutex_);
    return published_;
  }
  // The fault for one day (days before and after today included), or for every day.
  void setFault(text::Date day, Fault fault) {
    std::lock_guard lock(mutex_);
    faults_[text::dayText(day)] = fault;
  }
  void setFaultEverywhere(Fault fault) {
    std::lock_guard lock(mutex_);
    faults_.clear();
    everywhere_ = fault;
  }
  // Closed, the portal holds every answer until it is opened again.
  void setGate(bool open) {
    {
      std::lock_guard lock(mutex_);
      gateOpen_ = open;
    }
    gate_.notify_all();
  }
  // Waits until count requests are held at the closed gate.
  bool waitForHeld(int count, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    std::unique_lock lock(mutex_);
    return gate_.wait_for(lock, limit, [&] { return held_ >= count; });
  }
  int answered() const {
    std::lock_guard lock(mutex_);
    return answered_;
  }

 private:
  web::HttpResult answer(const web::HttpRequest& request) {
    std::unique_lock lock(mutex_);
    ++held_;
    gate_.notify_all();
    gate_.wait_for(lock, std::chrono::seconds(60), [&] { return gateOpen_; });
    --held_;
    ++answered_;
    const auto at = request.path.find("span=");
    if (at == std::string::npos) return withStatus("HTTP/1.1 404 Not Found", "<html>404</html>");
    const auto day = text::parseDate(request.path.substr(at + 5, 10));
    if (!day) return web::FakeTransport::page("<html></html>");
    const long ahead = text::daysBetween(today_, *day);
    const int count = ahead < 0 ? portal::kDrawsPerDay : ahead == 0 ? published_ : 0;
    const auto it = faults_.find(text::dayText(*day));
    return faulty(it == faults_.end() ? everywhere_ : it->second, *day, count);
  }

  static web::HttpResult faulty(Fault fault, text::Date day, int count) {
    const std::string page = portal::resultsPage(day, count);
    switch (fault) {
      case Fault::None:
        return web::FakeTransport::page(page);
      case Fault::Down:
        return {};
      case Fault::ClosedAtOnce: {
        web::HttpResult result;
        result.opened = true;
        return result;
      }
      case Fault::TimedOut:
        return web::FakeTransport::page(web::timeoutMessage());
      case Fault::ErrorStatus:
        return withStatus("HTTP/1.1 500 Internal Server Error",
                          "<html><body><h1>500</h1>" + GBK("服务器内部错误") + "</body></html>");
      case Fault::NotFound:
        return withStatus("HTTP/1.1 404 Not Found", "<html><body>404 Not Found</body></html>");
      case Fault::Truncated: {
        const auto row = page.find("<tr><td class='gray'>0");
        return web::FakeTransport::page(page.substr(0, row == std::string::npos ? page.size() / 2 : row + 30));
      }
      case Fault::NoRows:
        return web::FakeTransport::page(portal::resultsPage(day, count, false));
      case Fault::Huge:
        return web::FakeTransport::page(page + std::string(web::kBodyLimit + 4096, ' '));
      case Fault::HugeOpenRow: {
        std::string body = "<html><table><tr><td class='gray'>";
        body.append(web::kBodyLimit + 4096, '7');
        return web::FakeTransport::page(std::move(body));
      }
    }
    return {};
  }

  mutable std::mutex mutex_;
  std::condition_variable gate_;
  text::Date today_;
  int published_;
  std::map<std::string, Fault> faults_;
  Fault everywhere_ = Fault::None;
  bool gateOpen_ = true;
  int held_ = 0;
  int answered_ = 0;
};

// The program started on a day with yesterday's draws and `publishedToday`
// of today's on the portal.
struct World {
  explicit World(int publishedToday = 40, text::Date day = {2014, 3, 13})
      : today(day), h(HeadlessOptions{day}), portal(h.http, day, publishedToday) {}
  // Workers still fetching get their answers before the portal goes.
  ~World() {
    portal.setGate(true);
    h.app.workers.waitIdle(20000);
  }
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  ui::FormModel& m() { return h.main(); }
  void start() {
    app::installAll(h.app);
    m().open();
    ASSERT_TRUE(h.runUntilIdle());
  }
  int rows() { return m().rowCount(mf::超级列表框1); }
  std::string lastRow(int col) { return m().cell(mf::超级列表框1, rows() - 1, col); }
  std::string notice() { return m().status(shell::kNoticePart); }
  std::string searchNotice() { return m().status(shell::kSearchPart); }
  std::string planFile() { return h.files.get(GBK("D:\\计划区.txt")).value_or("<none>"); }
  std::string settingsFile() { return h.files.get(GBK("D:\\保存配置ZRTK.ini")).value_or("<none>"); }
  void click(int ctl) {
    m().userClick(ctl);
    ASSERT_TRUE(h.runUntilIdle());
  }
  // A draw typed by hand, which also appends its plan line once a search ran.
  void typeDraw(const std::string& period, const std::string& number) {
    m().userSetText(mf::编辑框_手动期号, period);
    m().userSetText(mf::编辑框_手动奖号, number);
    click(mf::按钮1);
  }
  text::Date yesterday() const { return text::addDays(today, -1); }
  // Polls what workers change while others keep running; false after limitMs.
  template <class Done>
  static bool waitFor(Done done, int limitMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }

  text::Date today;
  Headless h;
  FaultPortal portal;
};

}  // namespace zr::testing
