#pragma once
// The plan composer.
#include "shell/app.h"

namespace zr::plan {

// Appends the plan line for the latest draw to 编辑框_计划区. Any thread.
void composePlanLine(shell::App& app);

}  // namespace zr::plan
