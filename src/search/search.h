#pragma once
// The search start behind 按钮_搜索 (also used by the draw monitor).
#include "shell/app.h"

namespace zr::search {

// Starts the search of the selected mode on a worker and returns at once.
void startSearch(shell::App& app);

// Installs the search button's handler.
void installSearch(shell::App& app);

}  // namespace zr::search
