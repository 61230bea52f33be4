#pragma once
// Serves the test thread's message queue until a condition holds, with a time
// limit, so a Wine test waits for the UI thread's work without sleeping.
#include <windows.h>

#include <functional>

namespace zr::wine_test {

inline bool pumpUntil(const std::function<bool()>& done, DWORD limitMs = 5000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (done()) return true;
    }
    if (done()) return true;
    DWORD spent = GetTickCount() - start;
    if (spent >= limitMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, limitMs - spent, QS_ALLINPUT);
  }
}

}  // namespace zr::wine_test
