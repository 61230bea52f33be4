#include <windows.h>

#include <atomic>

#include "web/done_event.h"

namespace zr::web {

struct DoneEvent::Impl {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> done{false};
};

DoneEvent::DoneEvent() : impl_(std::make_unique<Impl>()) {}
DoneEvent::~DoneEvent() {
  if (impl_->event) CloseHandle(impl_->event);
}

void DoneEvent::set() {
  impl_->done.store(true);
  if (impl_->event) SetEvent(impl_->event);
}

bool DoneEvent::wait(std::chrono::milliseconds limit) {
  if (!impl_->event) return impl_->done.load();
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG total = static_cast<ULONGLONG>(limit.count() > 0 ? limit.count() : 0);
  if (!IsGUIThread(FALSE)) {
    WaitForSingleObject(impl_->event, static_cast<DWORD>(total));
    return impl_->done.load();
  }
  // Each pass waits only for the time that remains, so messages that keep
  // arriving never stretch the wait beyond the limit.
  while (true) {
    const ULONGLONG elapsed = GetTickCount64() - start;
    if (impl_->done.load()) return true;
    if (elapsed >= total) return false;
    const DWORD rc =
        MsgWaitForMultipleObjects(1, &impl_->event, FALSE, static_cast<DWORD>(total - elapsed), QS_ALLEVENTS);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // Leave the quit for the thread's own loop and wait out the rest plainly.
        PostQuitMessage(static_cast<int>(msg.wParam));
        const ULONGLONG spent = GetTickCount64() - start;
        if (spent < total) WaitForSingleObject(impl_->event, static_cast<DWORD>(total - spent));
        return impl_->done.load();
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (rc == WAIT_OBJECT_0) return true;
    if (rc == WAIT_FAILED) return impl_->done.load();
  }
}

}  // namespace zr::web
