// The fetcher's wire tests over the WinInet transport, run under Wine
// against a loopback server inside the test.
// winsock2.h before windows.h, which would bring the old winsock.h.
#include <winsock2.h>

#include <windows.h>

#include "web/transport_cases.h"

namespace zr::web {
namespace {

int messagesSeen = 0;

LRESULT CALLBACK countingProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_APP) ++messagesSeen;
  return DefWindowProcW(hwnd, message, w, l);
}

TEST(FetchWaitTest, ThreadWithAMessageQueueIsServedWhileItWaits) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = countingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"zr_fetch_wait_test";
  RegisterClassW(&wc);
  HWND window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);

  LoopbackServer server([&](const std::string&) {
    PostMessageW(window, WM_APP, 0, 0);  // arrives while the caller waits
    return LoopbackServer::response("200 OK", "page");
  });
  messagesSeen = 0;
  EXPECT_EQ(fetchPage(systemTransport(), server.url("/")), "page");
  EXPECT_EQ(messagesSeen, 1);
  DestroyWindow(window);
}

}  // namespace
}  // namespace zr::web
