#pragma once
// The settings file "D:\保存配置ZRTK.ini": the limit groups' boxes and the
// plan settings, saved and loaded by two buttons of the plan group.
#include "shell/app.h"

namespace zr::shell {

// Saves every bound box into the settings file and tells whether it worked.
void saveSettings(App& app);
// Sets every loaded box from the settings file; a missing key empties it.
void loadSettings(App& app);

// Installs the click handlers of 按钮_保存配置 and 按钮_提取设置.
void installSettings(App& app);

}  // namespace zr::shell
