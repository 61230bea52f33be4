#pragma once
// Candidate evaluation: a base set's record over the newest draws (hits and
// misses, current and longest runs) checked against the limits typed into the
// mode's three "二选一：" groups.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/mode.h"
#include "ui/form_model.h"

namespace zr::search {

// A box is filled when its text is not empty; its number is the integer its
// text begins with (0 when none).
struct LimitBox {
  bool filled = false;
  std::int32_t number = 0;
};
LimitBox readLimitBox(const ui::FormModel& form, int box);

struct PairLimit {
  LimitBox left, right;
  bool bothFilled() const { return left.filled && right.filled; }
  bool bothEmpty() const { return !left.filled && !right.filled; }
  bool holds(long long value) const { return left.number <= value && value <= right.number; }
};
PairLimit readPair(const ui::FormModel& form, BoxPair boxes);

struct GroupLimits {
  PairLimit hits, misses;
};

enum class Outcome { Pass, Fail, Unset, Conflict };
enum class Verdict { Accepted, Rejected, NoLimits };

// Exactly one pair filled (both its boxes) and the other empty is checked;
// all four empty is unset; anything else is a conflict.
Outcome checkGroup(const GroupLimits& group, int hitsMeasure, int missesMeasure);

struct Measures {
  int hitCount = 0, missCount = 0;
  int currentHitRun = 0, currentMissRun = 0;
  int longestHitRun = 1, longestMissRun = 1;  // 1 for the empty window
};
// marks[i] is true for a hit of window element i + 1 (newest first).
Measures measure(const std::uint8_t* marks, std::size_t count);

// The limits of the count, current-run and longest-run groups.
struct Limits {
  std::array<GroupLimits, 3> groups;
  bool conflict() const;
};
Limits readLimits(const ui::FormModel& form, Mode mode);
Verdict judge(const Limits& limits, const Measures& measures);

// The draw texts of the window, newest first: column 1 of the newest N rows
// of the draw list (its last two bytes in last-two mode), N the number of the
// window box. A window larger than the list covers the whole list: rows that
// do not exist have no draw to judge.
std::vector<std::string> drawWindow(const ui::FormModel& form, Mode mode);

// A hit when the draw text occurs in the base-set text.
std::vector<std::uint8_t> markSequence(std::string_view setText, const std::vector<std::string>& window);

// Reads the limits and the window as they are now and judges the set text.
Verdict evaluateCandidate(const ui::FormModel& form, Mode mode, std::string_view setText);

}  // namespace zr::search
