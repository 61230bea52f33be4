#pragma once
// The new-draw notification window: a small window that slides up into the
// lower right corner of the screen, shows the latest draw of the main window,
// puts an announcement of it on the clipboard and closes itself after eight
// seconds.
#include <memory>
#include <string>

#include "shell/app.h"
#include "ui/form_model.h"

namespace zr::draws {

// Opens a fresh notification window; any thread, never waits. The window is
// created on the UI thread; one that is still showing is closed first.
void openNotification(shell::App& app);

// The text put on the clipboard for a draw.
std::string announcementText(const std::string& period, const std::string& number);

// The window last opened (open or already closed), or null; for tests.
std::shared_ptr<ui::FormModel> currentNotification(shell::App& app);
// The countdown counter shared by every notification window.
int notificationCountdown(shell::App& app);

}  // namespace zr::draws
