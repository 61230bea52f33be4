#pragma once
// The small reactions of the main window: the counters under the result
// boxes, the copy buttons, the draw-count guard of 编辑框_取开奖期 and the
// saving of the plan area to the plan file.
#include <cstddef>
#include <string_view>

#include "shell/app.h"

namespace zr::shell {

// The number of numbers in a result box: the pieces of its text split at
// single blanks.
std::size_t countResultNumbers(std::string_view text);

// Installs the handlers, and sets app.hooks.beforeExit so that shut-down
// writes plan text that is still waiting to be saved.
void installCounters(App& app);

// Writes the plan area to the plan file now if the file may not hold its
// latest text. Any thread.
void flushPlanFile(App& app);

// The plan file is there but could not be read when the plan area was
// loaded (another program holds it): the writer keeps it until it can be
// read, then puts its text in front of the area's.
void planFileUnread(App& app);

// Writes of the plan file are gathered: at most one in this period while
// the plan area keeps changing.
inline constexpr int kPlanWriteIntervalMs = 200;

}  // namespace zr::shell
