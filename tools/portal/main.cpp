// The demo results portal: answers the results page address with a day's
// draws, for the demo and for the tests. Listens on 127.0.0.1 only.
//
//   zr_portal [--port N] [--every SECONDS] [--days N] [--full]
//             [--delay MS] [--status CODE] [--truncate] [--norows] [--close] [--huge]
//
// --port 0 picks a free port. The line "zr_portal ready http://127.0.0.1:PORT"
// on standard output tells that it accepts requests.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>

#include "draw_book.h"
#include "text/dates.h"
#include "text/gbk.h"

namespace {

using zr::text::Date;

struct Options {
  int port = 8080;
  int everySeconds = 0;  // 0: the day's schedule
  int days = 30;         // how far back the history reaches
  bool full = false;     // every day complete, today included
  int delayMs = 0;
  int status = 0;  // 0: 200
  bool truncate = false, noRows = false, close = false, huge = false;
};

void usage() {
  std::fprintf(stderr,
               "usage: zr_portal [--port N] [--every SECONDS] [--days N] [--full] [--delay MS] [--status CODE]\n"
               "                 [--truncate] [--norows] [--close] [--huge]\n");
}

bool parseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto number = [&](int& out) {
      if (i + 1 >= argc) return false;
      char* end = nullptr;
      const long v = std::strtol(argv[++i], &end, 10);
      if (!end || *end || v < 0 || v > 1000000000) return false;
      out = static_cast<int>(v);
      return true;
    };
    bool ok = true;
    if (a == "--port")
      ok = number(o.port) && o.port <= 65535;
    else if (a == "--every")
      ok = number(o.everySeconds);
    else if (a == "--days")
      ok = number(o.days);
    else if (a == "--delay")
      ok = number(o.delayMs);
    else if (a == "--status")
      ok = number(o.status) && o.status >= 100 && o.status <= 599;
    else if (a == "--full")
      o.full = true;
    else if (a == "--truncate")
      o.truncate = true;
    else if (a == "--norows")
      o.noRows = true;
    else if (a == "--close")
      o.close = true;
    else if (a == "--huge")
      o.huge = true;
    else
      ok = false;
    if (!ok) return false;
  }
  return true;
}

struct LocalNow {
  Date today;
  int seconds = 0;  // since midnight
};

LocalNow localNow() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}, tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec};
}

// The draws published for a day: a whole day before today, today's by the
// schedule (or, with --every, one more every few seconds since the start).
class Publisher {
 public:
  explicit Publisher(const Options& o) : options_(o), start_(std::chrono::steady_clock::now()) {
    const LocalNow now = localNow();
    startCount_ = zr::portal::scheduledCount(now.seconds);
    if (startCount_ > zr::portal::kDrawsPerDay / 2) startCount_ = zr::portal::kDrawsPerDay / 2;
  }

  int count(const Date& day) const {
    const LocalNow now = localNow();
    const long age = zr::text::daysBetween(day, now.today);
    if (age < 0 || age > options_.days) return 0;
    if (age > 0 || options_.full) return zr::portal::kDrawsPerDay;
    if (options_.everySeconds <= 0) return zr::portal::scheduledCount(now.seconds);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start_).count();
    const long n = startCount_ + elapsed / options_.everySeconds;
    return n < zr::portal::kDrawsPerDay ? static_cast<int>(n) : zr::portal::kDrawsPerDay;
  }

 private:
  Options options_;
  std::chrono::steady_clock::time_point start_;
  int startCount_ = 0;
};

// "2014-03-13_2014-03-13" -> the day, when both halves name the same real date.
bool dayOfSpan(const std::string& span, Date& day) {
  const std::size_t bar = span.find('_');
  if (bar == std::string::npos || span.substr(0, bar) != span.substr(bar + 1)) return false;
  const auto parsed = zr::text::parseDate(span.substr(0, bar));
  if (!parsed) return false;
  day = *parsed;
  return true;
}

void printReady(int port) {
  std::printf("zr_portal ready http://127.0.0.1:%d\n", port);
  std::fflush(stdout);
}

// --close: accept and close every connection at once, without a response.
int runClosing(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 1;
  const int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 16) != 0) {
    std::perror("zr_portal");
    return 1;
  }
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  printReady(ntohs(address.sin_port));
  while (true) {
    const int client = accept(fd, nullptr, nullptr);
    if (client >= 0) close(client);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parseArgs(argc, argv, options)) {
    usage();
    return 2;
  }
  if (options.close) return runClosing(options.port);

  Publisher publisher(options);
  httplib::Server server;
  const std::string contentType = "text/html; charset=gb2312";

  server.Get("/kaijiang/kaijiang", [&](const httplib::Request& req, httplib::Response& res) {
    if (options.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(options.delayMs));
    Date day;
    const bool known = req.get_param_value("lotId") == "255401" && req.get_param_value("spanType") == "2" &&
                       dayOfSpan(req.get_param_value("span"), day);
    if (options.status != 0 && options.status != 200) {
      res.status = options.status;
      res.set_content(
          "<html><body><h1>" + std::to_string(options.status) + "</h1>" + GBK("服务暂不可用") + "</body></html>\n",
          contentType);
      return;
    }
    if (options.huge) {
      // Far more than any client should keep: 64 MiB of a page that never ends.
      const std::size_t total = std::size_t{64} << 20;
      res.set_content_provider(total, contentType, [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        static const std::string filler(65536, 'x');
        const std::size_t n = std::min(length, filler.size());
        (void)offset;
        return sink.write(filler.data(), n);
      });
      return;
    }
    if (!known) {
      res.set_content(zr::portal::resultsPage(Date{2000, 1, 1}, 0, false), contentType);
      return;
    }
    std::string page = zr::portal::resultsPage(day, publisher.count(day), !options.noRows);
    if (options.truncate) page.resize(page.size() / 2);
    res.set_content(page, contentType);
  });
  server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.status == 404) res.set_content("<html><body><h1>404 Not Found</h1></body></html>\n", "text/html");
  });

  int port = options.port;
  if (port == 0) {
    port = server.bind_to_any_port("127.0.0.1");
    if (port <= 0) return 1;
  } else if (!server.bind_to_port("127.0.0.1", port)) {
    std::fprintf(stderr, "zr_portal: cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  printReady(port);
  return server.listen_after_bind() ? 0 : 1;
}
