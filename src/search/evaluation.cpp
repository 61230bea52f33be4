#include "search/evaluation.h"

#include <algorithm>

#include "text/bytes.h"

namespace zr::search {

LimitBox readLimitBox(const ui::FormModel& form, int box) {
  const std::string text = form.text(box);
  return {!text.empty(), text::readNumber(text)};
}

PairLimit readPair(const ui::FormModel& form, BoxPair boxes) {
  return {readLimitBox(form, boxes.left), readLimitBox(form, boxes.right)};
}

Outcome checkGroup(const GroupLimits& group, int hitsMeasure, int missesMeasure) {
  if (group.hits.bothFilled() && group.misses.bothEmpty())
    return group.hits.holds(hitsMeasure) ? Outcome::Pass : Outcome::Fail;
  if (group.misses.bothFilled() && group.hits.bothEmpty())
    return group.misses.holds(missesMeasure) ? Outcome::Pass : Outcome::Fail;
  if (group.hits.bothEmpty() && group.misses.bothEmpty()) return Outcome::Unset;
  return Outcome::Conflict;
}

Measures measure(const std::uint8_t* marks, std::size_t count) {
  Measures m;
  if (count == 0) return m;
  m.longestHitRun = 0;
  m.longestMissRun = 0;
  int run = 0;
  bool runOfHits = marks[0] != 0;
  bool leading = true;
  for (std::size_t i = 0; i < count; ++i) {
    const bool hit = marks[i] != 0;
    if (hit) {
      ++m.hitCount;
    } else {
      ++m.missCount;
    }
    if (hit != runOfHits) {
      if (leading) (runOfHits ? m.currentHitRun : m.currentMissRun) = run;
      leading = false;
      runOfHits = hit;
      run = 0;
    }
    ++run;
    int& longest = hit ? m.longestHitRun : m.longestMissRun;
    longest = std::max(longest, run);
  }
  if (leading) (runOfHits ? m.currentHitRun : m.currentMissRun) = run;
  return m;
}

bool Limits::conflict() const {
  return std::any_of(groups.begin(), groups.end(),
                     [](const GroupLimits& g) { return checkGroup(g, 0, 0) == Outcome::Conflict; });
}

Limits readLimits(const ui::FormModel& form, Mode mode) {
  Limits limits;
  const auto& boxes = settingsOf(mode).groups;
  for (std::size_t g = 0; g < boxes.size(); ++g)
    limits.groups[g] = {readPair(form, boxes[g].hits), readPair(form, boxes[g].misses)};
  return limits;
}

Verdict judge(const Limits& limits, const Measures& m) {
  const Outcome outcomes[3] = {
      checkGroup(limits.groups[0], m.hitCount, m.missCount),
      checkGroup(limits.groups[1], m.currentHitRun, m.currentMissRun),
      checkGroup(limits.groups[2], m.longestHitRun, m.longestMissRun),
  };
  bool anySet = false, allPass = true;
  for (Outcome o : outcomes) {
    if (o == Outcome::Unset) continue;
    anySet = true;
    if (o != Outcome::Pass) allPass = false;
  }
  if (!anySet) return Verdict::NoLimits;
  return allPass ? Verdict::Accepted : Verdict::Rejected;
}

std::vector<std::string> drawWindow(const ui::FormModel& form, Mode mode) {
  const ModeSettings& s = settingsOf(mode);
  std::vector<std::string> window;
  const int rows = form.rowCount(mf::超级列表框1);
  const int n = std::min(text::readNumber(form.text(s.windowBox)), rows);
  if (n <= 0) return window;
  window.reserve(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) {
    std::string cell = form.cell(mf::超级列表框1, rows - i, 1);
    window.push_back(mode == Mode::LastTwo ? text::lastBytes(cell, 2) : std::move(cell));
  }
  return window;
}

std::vector<std::uint8_t> markSequence(std::string_view setText, const std::vector<std::string>& window) {
  std::vector<std::uint8_t> marks;
  marks.reserve(window.size());
  for (const std::string& draw : window) marks.push_back(text::findText(setText, draw, 1, false) != -1);
  return marks;
}

Verdict evaluateCandidate(const ui::FormModel& form, Mode mode, std::string_view setText) {
  const std::vector<std::uint8_t> marks = markSequence(setText, drawWindow(form, mode));
  return judge(readLimits(form, mode), measure(marks.data(), marks.size()));
}

}  // namespace zr::search
