#include "platform/win32/dpi.h"

#include <string>

namespace zr::platform::win32::dpi {

namespace {

template <class Fn>
Fn lookup(const wchar_t* module, const char* name) {
  HMODULE h = GetModuleHandleW(module);
  if (!h) h = LoadLibraryW(module);
  return h ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(h, name))) : nullptr;
}

UINT deviceDpi() {
  HDC screen = GetDC(nullptr);
  UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  return dpi ? dpi : 96;
}

// The first Chinese face the system has; the system's message font otherwise.
const std::wstring& uiFace() {
  static const std::wstring face = [] {
    for (const wchar_t* candidate : {L"Microsoft YaHei UI", L"Microsoft YaHei", L"SimSun"}) {
      if (faceExists(candidate)) return std::wstring(candidate);
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return std::wstring(metrics.lfMessageFont.lfFaceName);
  }();
  return face;
}

}  // namespace

bool faceExists(const wchar_t* face) {
  LOGFONTW want{};
  want.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(want.lfFaceName, face, LF_FACESIZE - 1);
  HDC screen = GetDC(nullptr);
  bool found = false;
  EnumFontFamiliesExW(
      screen, &want,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
        *reinterpret_cast<bool*>(found) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

void enableAwareness() {
  // The manifest declares the awareness already; this covers a program
  // started without it. Where a newer function exists its refusal means the
  // awareness is set, and an older call must not lower it.
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  using SetAwareFn = BOOL(WINAPI*)();
  if (auto setContext = lookup<SetContextFn>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
    // Per-monitor v2 where it exists, v1 otherwise (DPI_AWARENESS_CONTEXT values -4 and -3).
    if (!setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) {
      setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)));
    }
    return;
  }
  using SetAwarenessFn = HRESULT(WINAPI*)(int);
  if (auto setAwareness = lookup<SetAwarenessFn>(L"shcore.dll", "SetProcessDpiAwareness")) {
    setAwareness(2);  // PROCESS_PER_MONITOR_DPI_AWARE
    return;
  }
  if (auto setAware = lookup<SetAwareFn>(L"user32.dll", "SetProcessDPIAware")) setAware();
}

UINT forWindow(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto getDpiForWindow = lookup<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    if (UINT dpi = getDpiForWindow(hwnd)) return dpi;
  }
  return forSystem();
}

UINT forSystem() {
  using GetDpiForSystemFn = UINT(WINAPI*)();
  static auto getDpiForSystem = lookup<GetDpiForSystemFn>(L"user32.dll", "GetDpiForSystem");
  if (getDpiForSystem) {
    if (UINT dpi = getDpiForSystem()) return dpi;
  }
  return deviceDpi();
}

HFONT createUiFont(UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy(font.lfFaceName, uiFace().c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

}  // namespace zr::platform::win32::dpi
