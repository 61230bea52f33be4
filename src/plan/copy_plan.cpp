#include <cstddef>
#include <string>

#include "plan/plan.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace zr::plan {

std::string nextPeriodText(std::string_view p) {
  const long long next = static_cast<long long>(text::readNumber(p)) + 1;
  if (next == 121) return "001";  // a day has 120 periods
  const std::string digits = text::formatInt(next);
  switch (digits.size()) {
    case 1:
      return "00" + digits;
    case 2:
      return "0" + digits;
    case 3:
      return digits;
    default:
      return "";
  }
}

std::string planStatisticsText(std::string_view plan, std::string_view hitSymbol) {
  const std::size_t lines = text::countPieces(plan, "\r\n");
  const long long hits = hitSymbol.empty() ? 0 : text::countOccurrences(plan, hitSymbol);
  // An empty plan has no rate; it shows 0 rather than a division by zero.
  const double rate =
      lines == 0 ? 0.0 : text::roundHalfAway(static_cast<double>(hits) / static_cast<double>(lines) * 100.0, 1);
  return GBK("人工参数搜索：总共") + text::formatInt(static_cast<long long>(lines)) + GBK("期  中奖：") +
         text::formatInt(hits) + GBK("期  中奖率：") + text::formatNumber(rate) + "%";
}

std::string planStatistics(shell::App& app) {
  ui::FormModel& form = app.main();
  return planStatisticsText(form.text(mf::编辑框_计划区), form.text(mf::编辑框_中奖符号));
}

void copyNumbersAndPlan(shell::App& app) {
  ui::FormModel& form = app.main();
  const std::string result = form.text(mf::编辑框_结果);
  const std::size_t count = text::countPieces(result, " ");
  const std::string plan = form.text(mf::编辑框_计划区);
  const std::string next = nextPeriodText(form.text(mf::标签_最新一期期号));
  const std::string statistics = planStatistics(app);

  std::string clip = result + "\r\n\r\n" + plan;
  if (count > 1) {
    clip += "\r\n" + next + GBK("期:") + form.text(mf::编辑框_外号) + "|" +
            text::formatInt(static_cast<long long>(count)) + GBK("注|未开奖...底/错/容 ") +
            form.text(mf::编辑框_大底个数) + "/0/" + form.text(mf::编辑框_容错_左) + "-" +
            form.text(mf::编辑框_容错_右) + "\r\n\r\n";
  } else {
    clip += next + GBK("期:等待开奖....\r\n\r\n");
  }
  clip += statistics + "\r\n" + form.text(mf::编辑框_广告);
  app.svc.clipboard.setText(clip);
}

}  // namespace zr::plan
