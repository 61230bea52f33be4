#include "platform/win32/window_system.h"

#include "platform/win32/dpi.h"

namespace zr::platform::win32 {

void Win32WindowSystem::showForm(std::shared_ptr<ui::FormModel> form, bool topmostNoActivate) {
  auto create = [form = std::move(form), topmostNoActivate]() mutable {
    ViewOptions options;
    options.topmostNoActivate = topmostNoActivate;
    FormView::create(std::move(form), std::move(options));
  };
  if (ui_.onUiThread()) {
    create();
  } else {
    ui_.post(std::move(create));
  }
}

ScreenSize Win32WindowSystem::screenSize() const {
  const UINT dpi = dpi::forSystem();
  return {dpi::unscale(GetSystemMetrics(SM_CXSCREEN), dpi), dpi::unscale(GetSystemMetrics(SM_CYSCREEN), dpi)};
}

HWND Win32WindowSystem::showMain(std::shared_ptr<ui::FormModel> form, std::function<void()> onDestroyed) {
  ViewOptions options;
  options.onDestroyed = std::move(onDestroyed);
  return FormView::create(std::move(form), std::move(options));
}

}  // namespace zr::platform::win32
