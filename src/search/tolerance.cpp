#include "search/tolerance.h"

#include "search/universe.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace zr::search {

std::string toleranceResult(std::string_view joined, int universe, int width, long long asked,
                            const PairLimit& missTolerance, const PairLimit& hitTolerance) {
  std::vector<long long> counts(static_cast<std::size_t>(universe), 0);
  const bool missOn = missTolerance.bothFilled(), hitOn = hitTolerance.bothFilled();
  if (missOn || hitOn) {
    std::string x;
    for (int i = 0; i < universe; ++i) {
      x.clear();
      appendEntry(x, i, width);
      counts[static_cast<std::size_t>(i)] = text::countOccurrences(joined, x);
    }
  }
  std::string result;
  if (missOn) {
    for (int i = 0; i < universe; ++i) {
      const long long c = counts[static_cast<std::size_t>(i)];
      if (asked - missTolerance.right.number <= c && c <= asked - missTolerance.left.number) {
        appendEntry(result, i, width);
        result.push_back(' ');
      }
    }
  }
  if (hitOn) {
    for (int i = 0; i < universe; ++i) {
      if (hitTolerance.holds(counts[static_cast<std::size_t>(i)])) {
        appendEntry(result, i, width);
        result.push_back(' ');
      }
    }
  }
  return result;
}

std::string applyTolerances(const ui::FormModel& form, Mode mode, std::string_view joined) {
  const ModeSettings& s = settingsOf(mode);
  return toleranceResult(joined, s.universe, s.width, readLimitBox(form, s.setCountBox).number,
                         readPair(form, s.missTolerance), readPair(form, s.hitTolerance));
}

std::string complementText(std::string_view text) {
  std::string result, x;
  for (int i = 0; i < 1000; ++i) {
    x.clear();
    appendEntry(x, i, 3);
    if (text::findText(text, x, 1, false) == -1) {
      result += x;
      result.push_back(' ');
    }
  }
  return result;
}

void invertResultBox(shell::App& app) {
  app.main().setText(mf::编辑框_结果, complementText(app.main().text(mf::编辑框_结果)));
  shell::setStatus(app, shell::kSearchPart, GBK("搜索提示：已经将文本反转!"));
}

std::string expandToThreeDigits(std::string_view resultNumbers) {
  std::string result;
  for (const std::string& t : text::split(resultNumbers, " ")) {
    for (char k = '0'; k <= '9'; ++k) {
      result.push_back(k);
      result += t;
      result.push_back(' ');
    }
  }
  return result;
}

std::string jointNumbers(std::string_view entry1, std::string_view entry2) {
  std::string combined(entry1);
  combined += "   ";
  combined += entry2;
  std::string result, x;
  for (int i = 0; i < 1000; ++i) {
    x.clear();
    appendEntry(x, i, 3);
    if (text::countOccurrences(combined, x) == 2) {
      result += x;
      result.push_back(' ');
    }
  }
  return result;
}

}  // namespace zr::search
