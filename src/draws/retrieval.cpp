#include "draws/retrieval.h"

#include <algorithm>
#include <mutex>

#include "draws/fill_lock.h"
#include "shell/ini_file.h"
#include "text/bytes.h"
#include "text/dates.h"
#include "text/gbk.h"
#include "web/fetch.h"
#include "web/pattern.h"

namespace zr::draws {
namespace {

const char* const kDefaultHost = "127.0.0.1:8080";

// The days of the range, complete before the first request; empty when the
// range cannot be walked.
std::vector<std::string> dayList(const std::string& firstDay, const std::string& lastDay) {
  std::vector<std::string> days;
  const auto first = text::parseDate(firstDay);
  const auto last = text::parseDate(lastDay);
  if (!first || !last) return days;
  const long count = text::daysBetween(*first, *last) + 1;
  if (count < 1 || count > kMaxDays) return days;
  for (long i = 0; i < count; ++i) days.push_back(text::dayText(text::addDays(*first, static_cast<int>(i))));
  return days;
}

enum class Range { Fine, BadDate, TooLong };

Range checkRange(const std::string& firstDay, const std::string& lastDay) {
  const auto first = text::parseDate(firstDay);
  const auto last = text::parseDate(lastDay);
  if (!first || !last) return Range::BadDate;
  if (text::daysBetween(*first, *last) + 1 > kMaxDays) return Range::TooLong;
  return Range::Fine;
}

}  // namespace

std::string portalHost(shell::App& app) {
  const auto bytes = app.svc.files.readFile(GBK("D:\\保存配置ZRTK.ini"));
  if (bytes) {
    auto value = shell::IniFile::parse(*bytes).get(GBK("网络"), GBK("开奖网站"));
    if (value) {
      std::string host = text::trim(*value);
      while (!host.empty() && host.back() == '/') host.pop_back();
      if (!host.empty()) return host;
    }
  }
  return kDefaultHost;
}

std::string resultsAddress(const std::string& host, const std::string& day) {
  return host + "/kaijiang/kaijiang?lotId=255401&spanType=2&span=" + day + "_" + day;
}

RetrievedDraws retrieveDraws(shell::App& app, const std::string& firstDay, const std::string& lastDay) {
  RetrievedDraws draws;
  web::PatternExtractor extractor;
  const std::vector<std::string> days = dayList(firstDay, lastDay);
  if (days.empty()) return draws;
  const std::string host = portalHost(app);
  const std::string pattern(drawRowPattern);
  for (const std::string& day : days) {
    const std::string bytes = web::fetchPage(app.svc.http, resultsAddress(host, day));
    extractor.create(pattern, bytes.substr(0, bytes.find('\0')));
    const int count = extractor.matchCount();
    for (int k = 1; k <= count; ++k) {
      draws.periods.push_back(extractor.subMatchText(k, 1));
      draws.numbers.push_back(extractor.subMatchText(k, 2));
    }
  }
  return draws;
}

std::size_t showDraws(shell::App& app, const RetrievedDraws& draws) {
  auto& form = app.main();
  const std::size_t n = std::min(draws.periods.size(), draws.numbers.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int row = form.appendRow(mf::超级列表框1);
    form.setCell(mf::超级列表框1, row, 0, draws.periods[i]);
    form.setCell(mf::超级列表框1, row, 1, text::lastBytes(draws.numbers[i], 3));
    form.ensureVisible(mf::超级列表框1, row);
  }
  if (n > 0) {
    form.setText(mf::标签_最新一期期号, draws.periods[n - 1]);
    form.setText(mf::标签_最新一期号码, draws.numbers[n - 1]);
  }
  return n;
}

void refreshDrawList(shell::App& app) {
  std::lock_guard fill(drawListFillLock(app));
  auto& form = app.main();
  shell::setStatus(app, shell::kNoticePart, GBK("温馨提示：[正在获取开奖...]"));
  form.setEnabled(mf::按钮_手动更新, false);

  const std::string firstDay = text::normaliseDate(form.text(mf::编辑框_日期_左));
  const std::string lastDay = text::normaliseDate(form.text(mf::编辑框_日期_右));
  // A range that cannot be walked makes no request and leaves the list as it is.
  const Range range = checkRange(firstDay, lastDay);
  if (range != Range::Fine) {
    shell::setStatus(app, shell::kNoticePart,
                     range == Range::BadDate ? GBK("温馨提示：日期格式不对,请按2000-01-01填写!")
                                             : GBK("温馨提示：日期范围太大,最多366天!"));
    form.setEnabled(mf::按钮_手动更新, true);
    shell::finishWorker(app, app.state.retrievalWorkerHandle);
    return;
  }

  form.deleteAllRows(mf::超级列表框1);
  const RetrievedDraws draws = retrieveDraws(app, firstDay, lastDay);
  if (showDraws(app, draws) > 0) {
    shell::setStatus(app, shell::kNoticePart, GBK("温馨提示：<开奖获取完毕!>"));
  } else {
    // Without this the button stayed disabled and the notice kept claiming a
    // retrieval in progress.
    shell::setStatus(app, shell::kNoticePart, GBK("温馨提示：未获取到开奖,请检查网络或日期!"));
  }
  form.setEnabled(mf::按钮_手动更新, true);
  shell::finishWorker(app, app.state.retrievalWorkerHandle);
}

void installRetrieval(shell::App& app) {
  app.hooks.retrievalRoutine = [&app] { refreshDrawList(app); };
}

}  // namespace zr::draws
