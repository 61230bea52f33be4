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

TEST(RetrievalPortalTest, StartUpFillsTheListFromTwoDays) {
  const std::string binary = portalBinary();
  if (binary.empty() || !std::filesystem::exists(binary)) GTEST_SKIP() << "zr_portal is not built";
  PortalProcess portal;
  // The test's today lies years back: every day of the history is complete.
  ASSERT_TRUE(portal.start(binary, {"--port", "0", "--full", "--days", "100000"}));

  std::unique_ptr<web::HttpTransport> real = web::makeSystemTransport();
  testing::Headless h;
  h.http.setHandler([&](const web::HttpRequest& request) {
    web::CancelToken never;
    return real->perform(request, never);
  });
  h.files.put(GBK("D:\\保存配置ZRTK.ini"),
              GBK("[网络]\r\n开奖网站=127.0.0.1:") + std::to_string(portal.port()) + "\r\n");
  installRetrieval(h.app);
  shell::installShell(h.app);
  h.main().open();
  ASSERT_TRUE(h.runUntilIdle(60000));

  auto& form = h.main();
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

}  // namespace
}  // namespace zr::draws
