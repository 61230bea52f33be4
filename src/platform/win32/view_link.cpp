#include "platform/win32/view_form.h"

namespace zr::platform::win32 {

ViewLink::ViewLink(std::size_t controls, std::size_t parts) {
  dirty_.controls.assign(controls, 0);
  dirty_.parts.assign(parts, false);
}

void ViewLink::modelChanged(int ctl, ui::Change what) {
  std::lock_guard lock(mutex_);
  if (detached_) return;
  if (what == ui::Change::Status) {
    if (ctl < 0 || ctl >= static_cast<int>(dirty_.parts.size())) return;
    dirty_.parts[ctl] = true;
  } else if (ctl == ui::kForm) {
    dirty_.form |= 1u << static_cast<unsigned>(what);
  } else {
    if (ctl < 0 || ctl >= static_cast<int>(dirty_.controls.size())) return;
    dirty_.controls[ctl] |= 1u << static_cast<unsigned>(what);
  }
  dirty_.any = true;
  postLocked();
}

void ViewLink::postLocked() {
  if (!hwnd_ || posted_ || cooling_) return;
  posted_ = PostMessageW(hwnd_, FormView::kRefreshMessage, 0, 0) != 0;
}

void ViewLink::attach(HWND hwnd) {
  std::lock_guard lock(mutex_);
  if (detached_) return;
  hwnd_ = hwnd;
  if (dirty_.any) postLocked();
}

void ViewLink::detach() {
  std::lock_guard lock(mutex_);
  detached_ = true;
  hwnd_ = nullptr;
}

ViewLink::Dirty ViewLink::take() {
  std::lock_guard lock(mutex_);
  posted_ = false;
  cooling_ = true;
  Dirty out;
  out.controls.assign(dirty_.controls.size(), 0);
  out.parts.assign(dirty_.parts.size(), false);
  std::swap(out, dirty_);
  return out;
}

bool ViewLink::settle() {
  std::lock_guard lock(mutex_);
  if (dirty_.any) return false;
  cooling_ = false;
  return true;
}

}  // namespace zr::platform::win32
