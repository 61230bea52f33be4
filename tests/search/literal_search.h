#pragma once
// The base-set search transcribed step by step, slow on purpose: the oracle
// the program's own path must agree with, and the baseline of the benchmark.
#include <algorithm>
#include <string>
#include <vector>

#include "search/evaluation.h"
#include "search/random.h"
#include "search/run_search.h"
#include "search/universe.h"
#include "text/bytes.h"
#include "text/gbk.h"

namespace zr::search::literal {

struct Generated {
  std::vector<int> picks;  // 1-based universe positions, in the order drawn
  std::string text;
};

// size distinct picks in [1, universe]: each draw is compared with the picks
// made so far, first to last; on a repeat a new number is drawn and compared
// again from the first pick.
inline Generated drawPicks(Random& random, int universe, int width, long long size) {
  Generated g;
  for (long long n = 0; n < size; ++n) {
    int r = static_cast<int>(randomInRange(random, 1, universe));
    for (std::size_t i = 0; i < g.picks.size(); ++i) {
      if (g.picks[i] == r) {
        r = static_cast<int>(randomInRange(random, 1, universe));
        i = static_cast<std::size_t>(-1);
      }
    }
    g.picks.push_back(r);
  }
  std::vector<int> sorted = g.picks;
  std::sort(sorted.begin(), sorted.end());
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    if (i > 0) g.text += ' ';
    g.text += universeEntry(sorted[i] - 1, width);
  }
  return g;
}

// One attempt of a base-set search as written: reseed, count and announce the
// attempt, read the size bounds, reseed twice, draw, and evaluate the text
// with every control read again. Returns the verdict and leaves the text.
inline Verdict attempt(SearchContext& context, Mode mode, std::string& text) {
  shell::App& app = context.app;
  const ModeSettings& s = settingsOf(mode);
  context.reseed();
  long long n;
  {
    std::lock_guard lock(app.state.mutex);
    n = ++attemptCount(app.state, mode);
  }
  shell::setStatus(app, shell::kNoticePart, GBK("温馨提示：当前搜索第：") + text::formatInt(n) + GBK("个文本."));
  const long long size = randomInRange(context.random, readLimitBox(app.main(), s.sizeBoxes.left).number,
                                       readLimitBox(app.main(), s.sizeBoxes.right).number);
  context.reseed();
  context.reseed();
  text = drawPicks(context.random, s.universe, s.width, size).text;
  return evaluateCandidate(app.main(), mode, text);
}

}  // namespace zr::search::literal
