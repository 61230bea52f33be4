#pragma once
// The plan composer.
#include <string>
#include <string_view>

#include "shell/app.h"

namespace zr::plan {

// Appends the plan line for the latest draw to 编辑框_计划区. Any thread.
void composePlanLine(shell::App& app);

// The period after p ("120" is followed by "001"); the empty text when the
// next number has more than three digits.
std::string nextPeriodText(std::string_view p);

// The statistics line of a plan text: lines, hits (occurrences of the hit
// symbol) and the hit rate in percent.
std::string planStatisticsText(std::string_view plan, std::string_view hitSymbol);
// The statistics line for the current plan area.
std::string planStatistics(shell::App& app);

// Puts the result numbers, the plan, the pending line for the next period,
// the statistics and the advert on the clipboard (按钮3).
void copyNumbersAndPlan(shell::App& app);

// Adds the draw typed into 编辑框_手动期号 / 编辑框_手动奖号 as the latest draw
// and composes its plan line (按钮1).
void addManualDraw(shell::App& app);

// Installs the click handlers of 按钮1 and 按钮3.
void installPlan(shell::App& app);

}  // namespace zr::plan
