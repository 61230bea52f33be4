#pragma once
// Combining the base sets found into result numbers, and the texts made from
// result numbers: the complement, the three-digit expansion of a last-two
// result, and the numbers that a joint search keeps.
#include <string>
#include <string_view>

#include "search/evaluation.h"
#include "shell/app.h"

namespace zr::search {

// The tolerance step over a mode's universe. c(x) is the count of x in the
// joined text, the number of found sets that contain x. With the miss
// tolerance (容错) pair filled, every x missing from between left and right of
// the asked-for sets, asked: d − right ≤ c(x) ≤ d − left; then, with the hit
// tolerance (容对) pair filled, every x with left ≤ c(x) ≤ right. Each number
// is followed by one blank.
std::string toleranceResult(std::string_view joined, int universe, int width, long long asked,
                            const PairLimit& missTolerance, const PairLimit& hitTolerance);

// The tolerance step with the mode's boxes as they are now.
std::string applyTolerances(const ui::FormModel& form, Mode mode, std::string_view joined);

// The three-digit numbers that do not occur in the text, each followed by one blank.
std::string complementText(std::string_view text);
// Replaces 编辑框_结果 by its complement and says so in the search part.
void invertResultBox(shell::App& app);

// Each two-digit result number t becomes 0t 1t … 9t, each followed by a blank.
std::string expandToThreeDigits(std::string_view resultNumbers);

// The three-digit numbers occurring exactly twice in entry1 + "   " + entry2.
std::string jointNumbers(std::string_view entry1, std::string_view entry2);

}  // namespace zr::search
