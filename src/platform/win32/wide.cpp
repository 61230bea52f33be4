#include "platform/win32/wide.h"

#include "text/gbk.h"

namespace zr::platform::win32 {

std::wstring widen(std::string_view gbk) { return text::gbkToWide(gbk); }

std::string narrow(std::wstring_view wide) { return text::wideToGbk(wide); }

std::wstring widenUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::wstring windowText(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring out(static_cast<std::size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd, out.data(), n + 1);
  out.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return out;
}

}  // namespace zr::platform::win32
