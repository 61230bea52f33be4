#pragma once
// The search start behind 按钮_搜索 (also used by the draw monitor).
#include "shell/app.h"

namespace zr::search {

// Starts the search of the selected mode on a worker and returns at once. A
// running search that works on the same lists (one of the same mode; a joint
// search shares the lists of both modes) is asked to stop, and the new worker
// waits for it to end before it begins.
void startSearch(shell::App& app);

// Installs the search button's handler: it starts a search, or stops the one
// of the selected mode while that runs (the button then reads "停止搜索").
// The mode's radio buttons keep that caption current.
void installSearch(shell::App& app);

// Asks every running search to stop at its next attempt.
void stopSearches(shell::App& app);

}  // namespace zr::search
