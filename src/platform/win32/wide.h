#pragma once
// The one place where the program's GBK text meets the W functions of Windows.
#include <windows.h>

#include <string>
#include <string_view>

namespace zr::platform::win32 {

std::wstring widen(std::string_view gbk);
std::string narrow(std::wstring_view wide);
// The forms' own texts are UTF-8 literals.
std::wstring widenUtf8(std::string_view utf8);

// The whole text of a window (a control's text or a window's caption).
std::wstring windowText(HWND hwnd);

}  // namespace zr::platform::win32
