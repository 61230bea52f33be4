#include <gtest/gtest.h>

#include <thread>

#include "draws/fill_lock.h"
#include "draws/retrieval.h"
#include "support/headless.h"
#include "text/gbk.h"
#include "web/fetch.h"

namespace zr::draws {
namespace {

using testing::Headless;

const std::string kPath = "/kaijiang/kaijiang?lotId=255401&spanType=2&span=";

std::string row(const std::string& period, const std::string& number) {
  return "<tr><td class='gray'>" + period + "</td><td class='red big'>" + number + "</td><td>x</td></tr>\n";
}

// A results page of the given rows between some text that is no draw.
std::string page(const std::string& rows) {
  return "<html><head><title>" + GBK("开奖") + "</title></head><body><table>\n<tr><th>" + GBK("期号") + "</th></tr>\n" +
         rows + "<tr><td class='grey'>999</td><td class='red big'>00000</td><td></tr>\n" + "</table></body></html>";
}

// The day of a recorded request, from its span.
std::string dayOf(const web::HttpRequest& request) {
  const std::size_t at = request.path.find("span=");
  return request.path.substr(at + 5, 10);
}

struct RetrievalTest : ::testing::Test {
  Headless h;
  ui::FormModel& form = h.main();

  void setRange(const std::string& first, const std::string& last) {
    form.setText(mf::编辑框_日期_左, first);
    form.setText(mf::编辑框_日期_右, last);
  }
  // Runs the retrieval worker's routine as start-up would.
  void refresh() {
    ASSERT_TRUE(shell::startWorker(h.app, h.app.state.retrievalWorkerHandle, [this] { refreshDrawList(h.app); }));
    h.runUntilIdle();
  }
  std::vector<std::string> requestedDays() {
    std::vector<std::string> days;
    for (const auto& r : h.http.requests()) days.push_back(dayOf(r));
    return days;
  }
  // Every day answers with one draw named after it.
  void answerEveryDay() {
    h.http.setHandler([](const web::HttpRequest& r) { return web::FakeTransport::page(page(row(dayOf(r), "12345"))); });
  }
};

struct DayCase {
  const char* first;
  const char* last;
  std::vector<std::string> days;
};

TEST_F(RetrievalTest, OneRequestPerDayInOrder) {
  const DayCase cases[] = {
      {"2014-03-13", "2014-03-13", {"2014-03-13"}},
      {"2014-02-28", "2014-03-01", {"2014-02-28", "2014-03-01"}},
      {"2014-09-30", "2014-10-02", {"2014-09-30", "2014-10-01", "2014-10-02"}},
      {"2013-12-31", "2014-01-01", {"2013-12-31", "2014-01-01"}},
      {"2016-02-28", "2016-03-01", {"2016-02-28", "2016-02-29", "2016-03-01"}},
      {"2014-3-5", "2014年3月6日", {"2014-03-05", "2014-03-06"}},
      {"2014-03-13", "2014-03-12", {}},
  };
  answerEveryDay();
  std::size_t seen = 0;
  for (const DayCase& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " .. " + c.last);
    setRange(text::utf8ToGbk(c.first), text::utf8ToGbk(c.last));
    refresh();
    const auto requests = h.http.requests();
    std::vector<std::string> days;
    for (std::size_t i = seen; i < requests.size(); ++i) {
      EXPECT_EQ(requests[i].address, "http://127.0.0.1:8080" + kPath + dayOf(requests[i]) + "_" + dayOf(requests[i]));
      EXPECT_EQ(requests[i].method, "GET");
      days.push_back(dayOf(requests[i]));
    }
    seen = requests.size();
    EXPECT_EQ(days, c.days);
    EXPECT_EQ(form.rowCount(mf::超级列表框1), static_cast<int>(c.days.size()));
  }
}

TEST_F(RetrievalTest, RowsLabelsAndStatusOfAFullDay) {
  std::string day1, day2;
  for (int p = 1; p <= 120; ++p) {
    char period[8];
    std::snprintf(period, sizeof period, "%03d", p);
    day2 += row(period, p == 120 ? "12345" : std::to_string(10000 + p * 7));
  }
  day1 = row("119", "7") + row("120", "88");  // numbers shorter than three bytes stay whole
  h.http.answer(kPath + "2014-03-12_2014-03-12", web::FakeTransport::page(page(day1)));
  h.http.answer(kPath + "2014-03-13_2014-03-13", web::FakeTransport::page(page(day2)));
  setRange("2014-03-12", "2014-03-13");
  refresh();

  ASSERT_EQ(form.rowCount(mf::超级列表框1), 122);
  EXPECT_EQ(form.cell(mf::超级列表框1, 0, 0), "119");
  EXPECT_EQ(form.cell(mf::超级列表框1, 0, 1), "7");
  EXPECT_EQ(form.cell(mf::超级列表框1, 1, 1), "88");
  EXPECT_EQ(form.cell(mf::超级列表框1, 2, 0), "001");
  EXPECT_EQ(form.cell(mf::超级列表框1, 2, 1), std::to_string(10007).substr(2));
  EXPECT_EQ(form.cell(mf::超级列表框1, 121, 0), "120");
  EXPECT_EQ(form.cell(mf::超级列表框1, 121, 1), "345");
  EXPECT_EQ(form.visibleRow(mf::超级列表框1), 121);
  EXPECT_EQ(form.text(mf::标签_最新一期期号), "120");
  EXPECT_EQ(form.text(mf::标签_最新一期号码), "12345");
  EXPECT_EQ(form.status(shell::kNoticePart), GBK("温馨提示：<开奖获取完毕!>"));
  EXPECT_TRUE(form.enabled(mf::按钮_手动更新));
  std::lock_guard lock(h.app.state.mutex);
  EXPECT_TRUE(h.app.state.retrievalWorkerHandle.closed);
}

struct NoDrawCase {
  const char* name;
  std::string first, last;
  std::string body;  // what every day answers
  std::size_t requests;
  std::string notice;
  bool listKept;  // the rows of the last retrieval stay
};

TEST_F(RetrievalTest, NothingRetrievedEnablesTheButtonAndSaysWhy) {
  const std::string noDraw = GBK("温馨提示：未获取到开奖,请检查网络或日期!");
  const std::vector<NoDrawCase> cases = {
      {"time-out message", "2014-03-12", "2014-03-13", web::timeoutMessage(), 2, noDraw, false},
      {"page without rows", "2014-03-13", "2014-03-13", page(""), 1, noDraw, false},
      {"last day before the first", "2014-03-13", "2014-03-01", page(row("001", "12345")), 0, noDraw, false},
      {"a date that is no date", "2014-02-30", "2014-03-01", page(row("001", "12345")), 0,
       GBK("温馨提示：日期格式不对,请按2000-01-01填写!"), true},
      {"text in a date box", "2014-03-01", GBK("明天"), page(row("001", "12345")), 0,
       GBK("温馨提示：日期格式不对,请按2000-01-01填写!"), true},
      {"367 days", "2013-03-01", "2014-03-02", page(row("001", "12345")), 0, GBK("温馨提示：日期范围太大,最多366天!"),
       true},
  };
  for (const NoDrawCase& c : cases) {
    SCOPED_TRACE(c.name);
    // A good retrieval first, so that a kept or emptied list shows.
    h.http.setHandler([](const web::HttpRequest&) { return web::FakeTransport::page(page(row("050", "54321"))); });
    setRange("2014-03-13", "2014-03-13");
    refresh();
    ASSERT_EQ(form.rowCount(mf::超级列表框1), 1);
    const std::size_t before = h.http.requests().size();

    h.http.setHandler([&](const web::HttpRequest&) { return web::FakeTransport::page(c.body); });
    setRange(c.first, c.last);
    refresh();
    EXPECT_EQ(h.http.requests().size() - before, c.requests);
    EXPECT_EQ(form.status(shell::kNoticePart), c.notice);
    EXPECT_TRUE(form.enabled(mf::按钮_手动更新));
    EXPECT_EQ(form.rowCount(mf::超级列表框1), c.listKept ? 1 : 0);
    EXPECT_EQ(form.text(mf::标签_最新一期期号), "050");  // the labels keep the last draw found
  }
}

TEST_F(RetrievalTest, A366DayRangeIsWalked) {
  answerEveryDay();
  setRange("2012-01-01", "2012-12-31");  // a leap year: 366 days
  refresh();
  const auto days = requestedDays();
  ASSERT_EQ(days.size(), 366u);
  EXPECT_EQ(days.front(), "2012-01-01");
  EXPECT_EQ(days.back(), "2012-12-31");
}

TEST_F(RetrievalTest, PortalHostComesFromTheSettingsFile) {
  answerEveryDay();
  setRange("2014-03-13", "2014-03-13");
  const std::string settings = GBK("D:\\保存配置ZRTK.ini");
  const struct {
    std::string file;
    std::string address;
  } cases[] = {
      {GBK("[数据]\r\n编辑框1=3\r\n[网络]\r\n开奖网站=portal.example:9000\r\n"), "http://portal.example:9000"},
      {GBK("[网络]\r\n开奖网站=https://secure.example/\r\n"), "https://secure.example"},
      {GBK("[数据]\r\n编辑框1=3\r\n"), "http://127.0.0.1:8080"},
      {GBK("[网络]\r\n开奖网站=\r\n"), "http://127.0.0.1:8080"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    h.files.put(settings, c.file);
    refresh();
    EXPECT_EQ(h.http.requests().back().address, c.address + kPath + "2014-03-13_2014-03-13");
  }
}

TEST_F(RetrievalTest, TwoFillsNeverRunAtOnce) {
  // The first refresh's first request waits a while for a second request; a
  // refresh that did not wait for the first one's end would make it.
  h.http.setHandler([&](const web::HttpRequest& r) {
    if (h.http.requests().size() == 1) h.http.waitForStarted(2, std::chrono::milliseconds(500));
    return web::FakeTransport::page(page(row(dayOf(r), "12345")));
  });
  setRange("2014-03-12", "2014-03-13");
  shell::startWorker(h.app, h.app.state.retrievalWorkerHandle, [this] { refreshDrawList(h.app); });
  ASSERT_TRUE(h.http.waitForStarted(1));
  shell::startWorker(h.app, h.app.state.retrievalWorkerHandle, [this] { refreshDrawList(h.app); });
  h.runUntilIdle();
  const std::vector<std::string> expected = {"2014-03-12", "2014-03-13", "2014-03-12", "2014-03-13"};
  EXPECT_EQ(requestedDays(), expected);
  EXPECT_EQ(form.rowCount(mf::超级列表框1), 2);
}

TEST_F(RetrievalTest, StartUpRunsTheRetrieval) {
  answerEveryDay();
  installRetrieval(h.app);
  shell::installShell(h.app);
  form.open();
  h.runUntilIdle();
  EXPECT_EQ(requestedDays(), (std::vector<std::string>{"2014-03-12", "2014-03-13"}));
  EXPECT_EQ(form.rowCount(mf::超级列表框1), 2);
  EXPECT_EQ(form.text(mf::标签_最新一期期号), "2014-03-13");
}

}  // namespace
}  // namespace zr::draws
