#pragma once
// Opens forms as native windows on the UI thread.
#include "platform/services.h"
#include "platform/win32/ui_thread.h"
#include "platform/win32/view_form.h"

namespace zr::platform::win32 {

class Win32WindowSystem final : public WindowSystem {
 public:
  explicit Win32WindowSystem(Win32UiThread& ui) : ui_(ui) {}

  void showForm(std::shared_ptr<ui::FormModel> form, bool topmostNoActivate) override;
  // The primary display in the forms' 96-DPI pixels, so that a form placed by
  // it lands where its own scaled size expects.
  ScreenSize screenSize() const override;

  // The main window, on the UI thread; onDestroyed runs when it is gone.
  HWND showMain(std::shared_ptr<ui::FormModel> form, std::function<void()> onDestroyed);

 private:
  Win32UiThread& ui_;
};

}  // namespace zr::platform::win32
