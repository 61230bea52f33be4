// zr_peek.exe: reads zrtk.exe's windows from outside for the Wine scenario,
// which drives the program with xdotool but cannot read an edit box.
//
//   zr_peek text FORM ID    the control's text (ID -1: the window's caption)
//   zr_peek rect FORM ID    its place on the screen: "x y width height"
//   zr_peek rows FORM ID    the row count of a list
//   zr_peek clip            the clipboard's text
//
// FORM is "main" or "notify"; ID is the control's index in the form's table.
// Texts are written as UTF-8. Exit code 1 when the window or control is not
// there, 2 for a bad command line.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

constexpr int kIdBase = 1000;  // the forms' first control identifier
constexpr wchar_t kFormClass[] = L"zrtk.Form";
constexpr wchar_t kNotifyCaption[] = L"更新开奖咯";

void write(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  bytes += '\n';
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

struct Search {
  bool notify;
  HWND found = nullptr;
};

HWND findForm(bool notify) {
  Search search{notify};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t cls[64] = {}, caption[128] = {};
        GetClassNameW(hwnd, cls, 63);
        if (std::wcscmp(cls, kFormClass) != 0 || !IsWindowVisible(hwnd)) return TRUE;
        GetWindowTextW(hwnd, caption, 127);
        const bool isNotify = std::wcsncmp(caption, kNotifyCaption, std::wcslen(kNotifyCaption)) == 0;
        if (isNotify != s->notify) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring textOf(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                      &got);
  text.resize(got);
  return text;
}

int clipboard() {
  for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
  std::wstring text;
  bool ok = false;
  if (HANDLE mem = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(mem))) {
      text = p;
      ok = true;
      GlobalUnlock(mem);
    }
  }
  CloseClipboard();
  if (!ok) return 1;
  write(text);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wcscmp(argv[1], L"clip") == 0) return clipboard();
  if (argc != 4) return 2;
  const std::wstring command = argv[1], form = argv[2];
  if (form != L"main" && form != L"notify") return 2;
  HWND window = findForm(form == L"notify");
  if (!window) return 1;
  const int id = std::wcstol(argv[3], nullptr, 10);
  HWND target = id < 0 ? window : GetDlgItem(window, kIdBase + id);
  if (!target) return 1;

  if (command == L"text") {
    write(textOf(target));
  } else if (command == L"rect") {
    RECT rc;
    GetWindowRect(target, &rc);
    write(std::to_wstring(rc.left) + L" " + std::to_wstring(rc.top) + L" " + std::to_wstring(rc.right - rc.left) +
          L" " + std::to_wstring(rc.bottom - rc.top));
  } else if (command == L"rows") {
    write(std::to_wstring(SendMessageW(target, LVM_GETITEMCOUNT, 0, 0)));
  } else {
    return 2;
  }
  return 0;
}
