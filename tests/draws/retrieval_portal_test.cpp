// Start-up against the demo portal over the real transport.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>

#include "draws/retrieval.h"
#include "support/headless.h"
#include "text/gbk.h"
#include "web/fetch.h"
#include "web/transport.h"

extern char** environ;

namespace zr::draws {
namespace {

// zr_portal from ZR_PORTAL, or beside this build's tests.
std::string portalBinary() {
  if (const char* path = std::getenv("ZR_PORTAL")) return path;
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return (self.parent_path().parent_path() / "tools" / "zr_portal").string();
}

// A portal process on a free port, ended when the test ends.
class PortalProcess {
 public:
  bool start(const std::string& binary, std::vector<std::string> args) {
    int out[2];
    if (pipe(out) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    args.insert(args.begin(), binary);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc = posix_spawn(&pid_, binary.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
      close(out[0]);
      pid_ = -1;
      return false;
    }
    // The ready line names the port.
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd p{out[0], POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      char c[256];
      const ssize_t n = read(out[0], c, sizeof c);
      if (n <= 0) break;
      line.append(c, static_cast<std::size_t>(n));
    }
    close(out[0]);
    const std::size_t colon = line.rfind(':');
    if (line.find("ready") == std::string::npos || colon == std::string::npos) return false;
    port_ = std::atoi(line.c_str() + colon + 1);
    return port_ > 0;
  }
  ~PortalProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  int port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

web::HttpTransport& realTransport() {
  static std::unique_ptr<web::HttpTransport> transport = web::makeSystemTransport();
  return *transport;
}

// A headless program whose requests go over the real transport to the portal.
struct PortalWorld {
  testing::Headless h;
  explicit PortalWorld(int port) {
    h.http.setHandler([](const web::HttpRequest& request) {
      web::CancelToken never;
      return realTransport().perform(request, never);
    });
    h.files.put(GBK("D:\\保存配置ZRTK.ini"), GBK("[网络]\r\n开奖网站=127.0.0.1:") + std::to_string(port) + "\r\n");
    installRetrieval(h.app);
    shell::installShell(h.app);
  }
};

// Every day of the history complete: the tests' today lies years back.
const std::vector<std::string> kFullHistory = {"--port", "0", "--full", "--days", "100000"};

#define REQUIRE_PORTAL(binary)               \
  const std::string binary = portalBinary(); \
  if (binary.empty() || !std::filesystem::exists(binary)) GTEST_SKIP() << "zr_portal is not built"

TEST(RetrievalPortalTest, StartUpFillsTheListFromTwoDays) {
  REQUIRE_PORTAL(binary);
  PortalProcess portal;
  ASSERT_TRUE(portal.start(binary, kFullHistory));
  PortalWorld world(portal.port());
  world.h.main().open();
  ASSERT_TRUE(world.h.runUntilIdle(60000));

  auto& form = world.h.main();
  ASSERT_EQ(form.rowCount(mf::超级列表框1), 240);
  for (int i = 0; i < 240; ++i) {
    char period[8];
    std::snprintf(period, sizeof period, "%03d", i % 120 + 1);
    ASSERT_EQ(form.cell(mf::超级列表框1, i, 0), period) << i;
    ASSERT_EQ(form.cell(mf::超级列表框1, i, 1).size(), 3u) << i;
  }
  EXPECT_EQ(form.text(mf::标签_最新一期期号), "120");
  const std::string latest = form.text(mf::标签_最新一期号码);
  ASSERT_EQ(latest.size(), 5u);
  EXPECT_EQ(latest.substr(2), form.cell(mf::超级列表框1, 239, 1));
  EXPECT_EQ(form.status(shell::kNoticePart), GBK("温馨提示：<开奖获取完毕!>"));
  EXPECT_TRUE(form.enabled(mf::按钮_手动更新));
}

struct FaultCase {
  const char* mode;
  int minRows, maxRows;  // over the two days
};

TEST(RetrievalPortalTest, FaultModesGiveFewOrNoRowsAndNeverHang) {
  REQUIRE_PORTAL(binary);
  const FaultCase cases[] = {
      {"--status", 0, 0}, {"--norows", 0, 0}, {"--close", 0, 0}, {"--huge", 0, 0}, {"--truncate", 2, 239},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.mode);
    std::vector<std::string> args = kFullHistory;
    args.push_back(c.mode);
    if (std::string(c.mode) == "--status") args.push_back("503");
    PortalProcess portal;
    ASSERT_TRUE(portal.start(binary, args));
    PortalWorld world(portal.port());
    world.h.main().open();
    ASSERT_TRUE(world.h.runUntilIdle(60000));
    auto& form = world.h.main();
    const int rows = form.rowCount(mf::超级列表框1);
    EXPECT_GE(rows, c.minRows);
    EXPECT_LE(rows, c.maxRows);
    EXPECT_TRUE(form.enabled(mf::按钮_手动更新));
    if (rows == 0) {
      EXPECT_EQ(form.status(shell::kNoticePart), GBK("温馨提示：未获取到开奖,请检查网络或日期!"));
    }
  }
}

TEST(RetrievalPortalTest, SlowPortalTimesOut) {
  REQUIRE_PORTAL(binary);
  PortalProcess portal;
  std::vector<std::string> args = kFullHistory;
  args.insert(args.end(), {"--delay", "3000"});
  ASSERT_TRUE(portal.start(binary, args));
  web::FetchOptions options;
  options.timeoutSeconds = 1;
  const std::string address = resultsAddress("127.0.0.1:" + std::to_string(portal.port()), "2014-03-13");
  EXPECT_EQ(web::fetchPage(realTransport(), address, options), web::timeoutMessage());
}

TEST(RetrievalPortalTest, OtherPathsAre404) {
  REQUIRE_PORTAL(binary);
  PortalProcess portal;
  ASSERT_TRUE(portal.start(binary, kFullHistory));
  std::string headers;
  web::FetchOptions options;
  options.responseHeaders = &headers;
  const std::string body =
      web::fetchPage(realTransport(), "127.0.0.1:" + std::to_string(portal.port()) + "/x", options);
  EXPECT_EQ(headers.substr(0, 12), "HTTP/1.1 404");
  EXPECT_NE(body.find("404"), std::string::npos);
}

}  // namespace
}  // namespace zr::draws
