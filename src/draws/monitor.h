#pragma once
// The draw monitor: the draw mode's radio buttons, the manual update button,
// the poll timer, and the two workers that find a new draw on the results
// portal and load it.
#include <string>
#include <string_view>

#include "shell/app.h"

namespace zr::draws {

// Installs the handlers of 按钮_手动更新, 单选框_自动开奖, 单选框_手动开奖 and
// 时钟_自动开奖 on the main form.
void installMonitor(shell::App& app);

// The monitor worker's routine: moves the date range to yesterday and today,
// fetches those days and, when the newest draw differs from the draw list's
// last row, starts refreshOnNewDraw.
void checkForNewDraw(shell::App& app);

// The refresh worker's routine after a new draw: refills the draw list and
// the latest-draw labels, then chimes, opens the notification window and,
// when 选择框1 is ticked, composes the plan line and starts the search.
void refreshOnNewDraw(shell::App& app);

// A draw as the comparison sees it: the period followed by the last three
// bytes of the number.
std::string drawKey(std::string_view period, std::string_view number);

}  // namespace zr::draws
