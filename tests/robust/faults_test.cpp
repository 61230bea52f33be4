// Faults of the network and the disk, each checked for three things: nothing
// the user made is lost, the window is left in a clear state (the status
// text says what happened, the buttons work), and the next action succeeds
// once the fault is gone. The table rows carry what the user sees.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "robust/world.h"
#include "shell/counters.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace zr {
namespace {

using testing::Fault;
using testing::World;

const char* const kAllFetched = "温馨提示：<开奖获取完毕!>";
const char* const kNothingFetched = "温馨提示：未获取到开奖,请检查网络或日期!";

std::string gbk(const char* utf8) { return text::utf8ToGbk(utf8); }

// ---- The network: a manual update against a failing portal ----

struct NetCase {
  const char* name;
  Fault yesterday, today;
  int rows;          // rows in the draw list after the update
  const char* sees;  // the notice part afterwards
};

const NetCase kNetCases[] = {
    {"portal down", Fault::Down, Fault::Down, 0, kNothingFetched},
    {"answer after the time-out", Fault::TimedOut, Fault::TimedOut, 0, kNothingFetched},
    {"error status 500", Fault::ErrorStatus, Fault::ErrorStatus, 0, kNothingFetched},
    {"error status 404", Fault::NotFound, Fault::NotFound, 0, kNothingFetched},
    {"truncated page", Fault::Truncated, Fault::Truncated, 0, kNothingFetched},
    {"page without rows", Fault::NoRows, Fault::NoRows, 0, kNothingFetched},
    {"connection closed at once", Fault::ClosedAtOnce, Fault::ClosedAtOnce, 0, kNothingFetched},
    // One day each: a body past the limit costs a scan of all of it.
    {"huge body after the rows", Fault::Huge, Fault::None, 120 + 40, kAllFetched},
    {"huge body inside an open row", Fault::None, Fault::HugeOpenRow, 120, kAllFetched},
    {"yesterday failing", Fault::Down, Fault::None, 40, kAllFetched},
    {"today failing", Fault::None, Fault::ErrorStatus, 120, kAllFetched},
};

class NetworkFault : public ::testing::TestWithParam<NetCase> {};

TEST_P(NetworkFault, ManualUpdateLosesNothingAndTheNextOneWorks) {
  const NetCase& c = GetParam();
  World w;
  w.start();
  ASSERT_EQ(w.rows(), 160);
  const std::string plan = gbk("040期:Pellor|800注|开123 中 底/错/容 3/1/0-1\r\n");
  w.m().userSetText(mf::编辑框_计划区, plan);
  ASSERT_TRUE(w.h.advance(shell::kPlanWriteIntervalMs));

  w.portal.setFault(w.yesterday(), c.yesterday);
  w.portal.setFault(w.today, c.today);
  w.click(mf::按钮_手动更新);
  EXPECT_EQ(w.rows(), c.rows);
  EXPECT_EQ(w.notice(), gbk(c.sees)) << text::gbkToUtf8(w.notice());
  EXPECT_TRUE(w.m().enabled(mf::按钮_手动更新));
  if (c.rows > 0) {
    EXPECT_EQ(w.m().text(mf::标签_最新一期期号), w.lastRow(0));
  } else {
    // The labels keep the last draw known.
    EXPECT_EQ(w.m().text(mf::标签_最新一期期号), "040");
  }
  EXPECT_EQ(w.m().text(mf::编辑框_计划区), plan);
  EXPECT_EQ(w.planFile(), plan);

  w.portal.setFaultEverywhere(Fault::None);
  w.click(mf::按钮_手动更新);
  EXPECT_EQ(w.rows(), 160);
  EXPECT_EQ(w.lastRow(0), "040");
  EXPECT_EQ(w.notice(), gbk(kAllFetched));
  EXPECT_TRUE(w.m().enabled(mf::按钮_手动更新));
}

INSTANTIATE_TEST_SUITE_P(Faults, NetworkFault, ::testing::ValuesIn(kNetCases),
                         [](const ::testing::TestParamInfo<NetCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           }
                           return name;
                         });

// The monitor rides out an outage: its check finds nothing, so the list stays
// as it was; once the portal answers again the next tick finds the new draw.
TEST(MonitorFault, AnOutageKeepsTheListAndTheNextTickRecovers) {
  World w;
  w.start();
  w.m().setChecked(mf::选择框1, false);  // no search, whose attempts would fill the notice part
  w.portal.setFaultEverywhere(Fault::Down);
  w.portal.publish();
  ASSERT_TRUE(w.h.advance(30000));
  EXPECT_EQ(w.notice(), GBK("温馨提醒：[正在判断是否开奖...]"));
  EXPECT_EQ(w.rows(), 160);
  EXPECT_EQ(w.h.sound.playCount(), 0);

  w.portal.setFaultEverywhere(Fault::None);
  ASSERT_TRUE(w.h.advance(30000));
  EXPECT_EQ(w.rows(), 161);
  EXPECT_EQ(w.lastRow(0), "041");
  EXPECT_EQ(w.notice(), GBK("温馨提示：<开奖获取完毕!>"));
  EXPECT_EQ(w.h.sound.playCount(), 1);
}

// A failed manual update empties the list; the monitor then takes the
// portal's first answer for a new draw and refills it.
TEST(MonitorFault, AFailedUpdateIsRefilledByTheNextTick) {
  World w;
  w.start();
  w.m().setChecked(mf::选择框1, false);
  w.portal.setFaultEverywhere(Fault::Down);
  w.click(mf::按钮_手动更新);
  ASSERT_EQ(w.rows(), 0);
  w.portal.setFaultEverywhere(Fault::None);
  ASSERT_TRUE(w.h.advance(30000));
  EXPECT_EQ(w.rows(), 160);
  EXPECT_TRUE(w.m().enabled(mf::按钮_手动更新));
  EXPECT_EQ(w.notice(), GBK("温馨提示：<开奖获取完毕!>"));
}

// A retrieval that fails while a search runs. The list empties under the
// running search, the button comes back and the labels keep the last draw;
// the notice part is shared with the search's attempt counter, so while the
// search runs the user sees "温馨提示：当前搜索第：N个文本." replace
// "温馨提示：未获取到开奖,请检查网络或日期!". Stopped, the search says
// "搜索提示：搜索已停止!"; the next update then shows the failure plainly,
// and once the portal is back both work again.
TEST(SearchFault, ARetrievalFailingWhileASearchRuns) {
  World w;
  w.start();
  w.m().setText(mf::编辑框_容对_左, "1");
  w.m().setText(mf::编辑框_容对_右, "3");
  w.m().setText(mf::编辑框_大底个数, "1000");  // far more sets than the test lets it find
  w.m().userClick(mf::按钮_搜索);
  ASSERT_TRUE(w.h.ui.runUntilIdle());
  ASSERT_EQ(w.m().text(mf::按钮_搜索), GBK("停止搜索"));

  const std::size_t requests = w.h.http.requests().size();
  w.portal.setFaultEverywhere(Fault::Down);
  w.m().userClick(mf::按钮_手动更新);
  ASSERT_TRUE(w.h.http.waitForFinished(requests + 2));
  ASSERT_TRUE(World::waitFor([&] { return w.m().enabled(mf::按钮_手动更新); }));
  EXPECT_EQ(w.rows(), 0);
  EXPECT_EQ(w.m().text(mf::标签_最新一期期号), "040");
  const std::string seen = w.notice();
  EXPECT_TRUE(seen == gbk(kNothingFetched) || seen.starts_with(GBK("温馨提示：当前搜索第："))) << text::gbkToUtf8(seen);
  ASSERT_EQ(w.m().text(mf::按钮_搜索), GBK("停止搜索"));

  w.click(mf::按钮_搜索);
  EXPECT_EQ(w.searchNotice(), GBK("搜索提示：搜索已停止!"));
  EXPECT_EQ(w.m().text(mf::按钮_搜索), GBK("搜索"));
  w.click(mf::按钮_手动更新);
  EXPECT_EQ(w.notice(), gbk(kNothingFetched));
  EXPECT_TRUE(w.m().enabled(mf::按钮_手动更新));

  w.portal.setFaultEverywhere(Fault::None);
  w.click(mf::按钮_手动更新);
  EXPECT_EQ(w.rows(), 160);
  w.m().setText(mf::编辑框_大底个数, "3");
  w.click(mf::按钮_搜索);
  EXPECT_EQ(w.searchNotice(), GBK("搜索提示：[全部任务搜索完毕!]"));
  EXPECT_GE(text::countPieces(w.m().text(mf::编辑框_结果), " "), 800u);
}

// ---- The disk: the plan file and the settings file ----

const char* const kPlanFailed = "温馨提示：计划区保存失败,请检查D盘!";
const std::string& planPath() { return GBK("D:\\计划区.txt"); }
const std::string& settingsPath() { return GBK("D:\\保存配置ZRTK.ini"); }
const std::string kOldPlan = text::utf8ToGbk("039期:Pellor|800注|开123 中 底/错/容 3/1/0-1\r\n");

std::string lastMessage(World& w) {
  const auto messages = w.h.dialogs.messages();
  return messages.empty() ? std::string() : messages.back().text;
}
void typePlan(World& w, const std::string& more) {
  w.m().userSetText(mf::编辑框_计划区, w.m().text(mf::编辑框_计划区) + more);
  ASSERT_TRUE(w.h.advance(shell::kPlanWriteIntervalMs));
}
void readOnly(World& w) { w.h.files.setWritable(false); }
void writable(World& w) { w.h.files.setWritable(true); }
void locked(World& w) { w.h.files.setReadable(false); }
void unlocked(World& w) { w.h.files.setReadable(true); }
void damaged(World& w) {
  std::string junk = "\xFF\xFE[\x81\x00\r\n=\n[";
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
  junk += "\n[" + text::utf8ToGbk("数据") + "]\n" + std::string(200000, '=') + "\n";
  w.h.files.put(settingsPath(), junk);
}

struct DiskCase {
  const char* name;
  bool beforeStart;  // the fault is there when the program starts
  void (*fault)(World&);
  void (*act)(World&);        // what the user does while it lasts
  const char* sees;           // the notice part or the message box; "" for neither
  bool (*kept)(World&);       // nothing lost
  void (*mend)(World&);       // the fault goes and the user acts again
  bool (*recovered)(World&);  // and that works
};

const DiskCase kDiskCases[] = {
    {"plan folder read-only while typing", false, readOnly, [](World& w) { typePlan(w, "x\r\n"); }, kPlanFailed,
     [](World& w) { return w.planFile() == kOldPlan && w.m().text(mf::编辑框_计划区) == kOldPlan + "x\r\n"; },
     [](World& w) {
       writable(w);
       typePlan(w, "y\r\n");
     },
     [](World& w) { return w.planFile() == kOldPlan + "x\r\ny\r\n"; }},
    {"full disk when a typed draw adds its plan line", false, readOnly,
     [](World& w) {
       w.typeDraw("041", "12345");
       ASSERT_TRUE(w.h.advance(shell::kPlanWriteIntervalMs));
     },
     kPlanFailed,
     [](World& w) {
       const std::string area = w.m().text(mf::编辑框_计划区);
       return w.planFile() == kOldPlan && area.size() > kOldPlan.size() && area.starts_with(kOldPlan) &&
              w.lastRow(1) == "12345";
     },
     [](World& w) {
       writable(w);
       w.m().close();
       ASSERT_TRUE(w.h.process.waitForExit(5000));
     },
     [](World& w) { return w.planFile() == w.m().text(mf::编辑框_计划区) && w.h.process.exitCode() == 0; }},
    {"full disk when the settings are saved", false, readOnly, [](World& w) { w.click(mf::按钮_保存配置); },
     "保存数据失败!",
     [](World& w) { return w.settingsFile().find(text::utf8ToGbk("大底个数=17")) != std::string::npos; },
     [](World& w) {
       writable(w);
       w.click(mf::按钮_保存配置);
     },
     [](World& w) {
       return lastMessage(w) == GBK("保存数据成功!") &&
              w.settingsFile().find(text::utf8ToGbk("大底个数=15")) != std::string::npos;
     }},
    {"settings file locked when loaded", false, locked, [](World& w) { w.click(mf::按钮_提取设置); }, "",
     // As the settings' own rules say: an unreadable file loads as empty boxes.
     [](World& w) {
       return w.m().text(mf::编辑框_大底个数).empty() && w.settingsFile().find("=17") != std::string::npos;
     },
     [](World& w) {
       unlocked(w);
       w.click(mf::按钮_提取设置);
     },
     [](World& w) { return w.m().text(mf::编辑框_大底个数) == "17"; }},
    // A file another program holds cannot be read: saving over it would
    // drop its other sections (the portal's host), so the save is refused.
    {"settings file locked when saved", false, locked, [](World& w) { w.click(mf::按钮_保存配置); }, "保存数据失败!",
     [](World& w) {
       return w.settingsFile().find(text::utf8ToGbk("开奖网站=")) != std::string::npos &&
              w.settingsFile().find(text::utf8ToGbk("大底个数=17")) != std::string::npos;
     },
     [](World& w) {
       unlocked(w);
       w.click(mf::按钮_保存配置);
     },
     [](World& w) {
       return lastMessage(w) == GBK("保存数据成功!") &&
              w.settingsFile().find(text::utf8ToGbk("开奖网站=")) != std::string::npos &&
              w.settingsFile().find(text::utf8ToGbk("大底个数=15")) != std::string::npos;
     }},
    {"settings file damaged", false, damaged, [](World& w) { w.click(mf::按钮_提取设置); }, "",
     [](World& w) { return w.m().text(mf::编辑框_计划区) == kOldPlan && w.rows() == 160; },
     [](World& w) {
       w.m().setText(mf::编辑框_大底个数, "4");
       w.click(mf::按钮_保存配置);
       w.m().setText(mf::编辑框_大底个数, "");
       w.click(mf::按钮_提取设置);
       w.click(mf::按钮_手动更新);
     },
     [](World& w) { return w.m().text(mf::编辑框_大底个数) == "4" && w.rows() == 160; }},
    // A plan file held by another program at start-up reads as no plan, and
    // nothing is said; it is never written over: once it can be read, its
    // plan goes in front of what the area got since.
    {"plan file locked at start-up", true, locked, [](World& w) { unlocked(w); }, "",
     [](World& w) { return w.planFile() == kOldPlan && w.m().text(mf::编辑框_计划区).empty(); },
     [](World& w) { typePlan(w, "z\r\n"); },
     [](World& w) { return w.planFile() == kOldPlan + "z\r\n" && w.m().text(mf::编辑框_计划区) == w.planFile(); }},
    {"plan file locked while typing", true, locked, [](World& w) { typePlan(w, "z\r\n"); }, kPlanFailed,
     [](World& w) { return w.planFile() == kOldPlan && w.m().text(mf::编辑框_计划区) == "z\r\n"; },
     [](World& w) {
       unlocked(w);
       typePlan(w, "w\r\n");
     },
     [](World& w) { return w.planFile() == kOldPlan + "z\r\nw\r\n" && w.m().text(mf::编辑框_计划区) == w.planFile(); }},
};

class DiskFault : public ::testing::TestWithParam<DiskCase> {};

TEST_P(DiskFault, NothingLostAClearStateAndTheNextActionWorks) {
  const DiskCase& c = GetParam();
  World w;
  w.h.files.put(planPath(), kOldPlan);
  w.h.files.put(settingsPath(), text::utf8ToGbk("; the portal\r\n[网络]\r\n开奖网站=127.0.0.1:8080\r\n"));
  if (c.beforeStart) c.fault(w);
  w.start();
  if (!c.beforeStart) {
    w.m().setText(mf::编辑框_大底个数, "17");
    w.click(mf::按钮_保存配置);
    ASSERT_EQ(lastMessage(w), GBK("保存数据成功!"));
    w.m().setText(mf::编辑框_大底个数, "15");
    w.m().setText(mf::标签_注数, GBK("注数：800注"));  // as after a search
    c.fault(w);
  }
  const std::size_t messagesBefore = w.h.dialogs.messages().size();
  const std::string noticeBefore = w.notice();
  c.act(w);
  const std::string sees = text::utf8ToGbk(c.sees);
  if (sees.starts_with(GBK("温馨"))) {
    EXPECT_EQ(w.notice(), sees) << text::gbkToUtf8(w.notice());
  } else if (!sees.empty()) {
    ASSERT_EQ(w.h.dialogs.messages().size(), messagesBefore + 1);
    EXPECT_EQ(lastMessage(w), sees);
    EXPECT_EQ(w.h.dialogs.messages().back().icon,
              sees == GBK("保存数据失败!") ? platform::MessageIcon::Error : platform::MessageIcon::Information);
  } else {
    EXPECT_EQ(w.h.dialogs.messages().size(), messagesBefore);
  }
  EXPECT_TRUE(c.kept(w)) << "lost: plan file " << text::gbkToUtf8(w.planFile()) << "\nsettings file "
                         << text::gbkToUtf8(w.settingsFile().substr(0, 300));
  c.mend(w);
  EXPECT_TRUE(c.recovered(w)) << "not recovered: plan file " << text::gbkToUtf8(w.planFile());
}

INSTANTIATE_TEST_SUITE_P(Faults, DiskFault, ::testing::ValuesIn(kDiskCases),
                         [](const ::testing::TestParamInfo<DiskCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           }
                           return name;
                         });

// ---- The fetcher's own time-out ----

// A server that answers only after the time-out: the caller returns at the
// time-out with the time-out message, its outputs untouched, and the late
// answer reaches nobody; the next request is served normally.
TEST(FetchTimeout, ALateAnswerNeverReachesTheCaller) {
  web::FakeTransport http;
  std::mutex mutex;
  std::condition_variable released;
  bool late = false;
  http.setHandler([&](const web::HttpRequest& request) {
    if (request.path == "/slow") {
      std::unique_lock lock(mutex);
      released.wait_for(lock, std::chrono::seconds(30), [&] { return late; });
      return web::FakeTransport::page("late body", "Set-Cookie: a=1; path=/\r\n");
    }
    return web::FakeTransport::page("fresh body");
  });
  std::string headers = "before", cookies = "before";
  web::FetchOptions options;
  options.timeoutSeconds = 1;
  options.responseHeaders = &headers;
  options.responseCookies = &cookies;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(web::fetchPage(http, "127.0.0.1:8080/slow", options), web::timeoutMessage());
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_GE(waited, std::chrono::milliseconds(990));
  EXPECT_LT(waited, std::chrono::seconds(5));
  {
    std::lock_guard lock(mutex);
    late = true;
  }
  released.notify_all();
  ASSERT_TRUE(http.waitForFinished(1));
  EXPECT_EQ(headers, "before");
  EXPECT_EQ(cookies, "before");
  EXPECT_EQ(web::fetchPage(http, "127.0.0.1:8080/next", options), "fresh body");
}

// A server that never answers: the request is cancelled at the time-out.
TEST(FetchTimeout, ANeverAnsweringServerIsCancelled) {
  web::FakeTransport http;
  http.setSlow(true);
  web::FetchOptions options;
  options.timeoutSeconds = 1;
  EXPECT_EQ(web::fetchPage(http, "127.0.0.1:8080/", options), web::timeoutMessage());
  EXPECT_TRUE(http.waitForFinished(1));
}

}  // namespace
}  // namespace zr
