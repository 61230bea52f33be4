#pragma once
// Start-up and shut-down of the main window.
#include <string_view>

#include "shell/app.h"

namespace zr::shell {

// The poll timer's period for the interval text in seconds: the number the
// text begins with times 1000; below one second the timer stops (0), above a
// day it is taken as a day.
int pollPeriodMs(std::string_view intervalText);

// The creation steps of the main window, in order (the Created handler).
void createMainWindow(App& app);
// The shut-down of the main window (the Destroying handler): detaches the
// skin, writes what is pending and ends the process with exit code 0.
void shutDown(App& app);

}  // namespace zr::shell
