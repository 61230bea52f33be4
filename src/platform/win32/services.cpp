#include "platform/win32/services.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstring>

#include "platform/win32/wide.h"

namespace zr::platform::win32 {

text::Date Win32Clock::today() const {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

std::uint32_t Win32Clock::tickCount() const { return GetTickCount(); }

namespace {

struct Handle {
  HANDLE h;
  explicit Handle(HANDLE handle) : h(handle) {}
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
};

bool writeAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::optional<std::string> Win32FileSystem::readFile(const std::string& path) {
  Handle file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.h, buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  return bytes;
}

// A file held open by another program without read sharing still has its
// attributes.
bool Win32FileSystem::exists(const std::string& path) {
  return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::writeFileAtomic(const std::string& path, std::string_view bytes) {
  std::wstring target = widen(path);
  // A name of its own for each write, so two writers never share a temporary file.
  std::wstring temp =
      target + L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(nextTemp_++) + L".tmp";
  bool ok;
  {
    Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE) return false;
    ok = writeAll(file.h, bytes) && FlushFileBuffers(file.h);
  }
  if (ok) ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

Win32Clipboard::Win32Clipboard()
    // The clipboard needs an owner window: EmptyClipboard with none makes SetClipboardData fail.
    : owner_(CreateWindowExW(0, L"STATIC", L"zrtk.Clipboard", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr)) {}

Win32Clipboard::~Win32Clipboard() {
  if (owner_) DestroyWindow(owner_);
}

bool Win32Clipboard::open() {
  // Another program may hold the clipboard for a moment; a few short tries.
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (OpenClipboard(owner_)) return true;
    Sleep(10);
  }
  return false;
}

namespace {

HGLOBAL globalCopy(const void* data, std::size_t size) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!mem) return nullptr;
  void* p = GlobalLock(mem);
  if (!p) {
    GlobalFree(mem);
    return nullptr;
  }
  std::memcpy(p, data, size);
  GlobalUnlock(mem);
  return mem;
}

bool setData(UINT format, HGLOBAL mem) {
  if (!mem) return false;
  if (SetClipboardData(format, mem)) return true;
  GlobalFree(mem);
  return false;
}

}  // namespace

bool Win32Clipboard::setText(const std::string& gbk) {
  if (!open()) return false;
  std::wstring wide = widen(gbk);
  LCID locale = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);
  bool ok = EmptyClipboard();
  ok = ok && setData(CF_UNICODETEXT, globalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)));
  ok = ok && setData(CF_TEXT, globalCopy(gbk.c_str(), gbk.size() + 1));
  // Tells readers of CF_TEXT which code page its bytes are in.
  if (ok) setData(CF_LOCALE, globalCopy(&locale, sizeof locale));
  CloseClipboard();
  return ok;
}

std::optional<std::string> Win32Clipboard::text() {
  if (!open()) return std::nullopt;
  std::optional<std::string> out;
  if (HANDLE mem = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(mem))) {
      std::size_t max = GlobalSize(mem) / sizeof(wchar_t);
      std::size_t n = 0;
      while (n < max && p[n] != L'\0') ++n;
      out = narrow(std::wstring_view(p, n));
      GlobalUnlock(mem);
    }
  }
  CloseClipboard();
  return out;
}

namespace {

using PlaySoundWFn = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);

PlaySoundWFn playSoundW() {
  // winmm is loaded on first use; without it the program is silent.
  static PlaySoundWFn fn = [] {
    HMODULE winmm = LoadLibraryW(L"winmm.dll");
    return winmm ? reinterpret_cast<PlaySoundWFn>(reinterpret_cast<void*>(GetProcAddress(winmm, "PlaySoundW")))
                 : nullptr;
  }();
  return fn;
}

}  // namespace

Win32Sound::~Win32Sound() {
  std::lock_guard lock(mutex_);
  if (auto play = playSoundW(); play && !image_.empty()) play(nullptr, nullptr, 0);
}

void Win32Sound::playWav(std::span<const std::uint8_t> wav) {
  PlaySoundWFn play = playSoundW();
  if (!play || wav.empty()) return;
  std::lock_guard lock(mutex_);
  // Stops what plays before its image is replaced.
  if (!image_.empty()) play(nullptr, nullptr, 0);
  image_.assign(wav.begin(), wav.end());
  play(reinterpret_cast<LPCWSTR>(image_.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

void Win32Dialogs::messageBox(const std::string& text, const std::string& title, MessageIcon icon) {
  UINT type = MB_OK | (icon == MessageIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION);
  MessageBoxW(GetActiveWindow(), widen(text).c_str(), widen(title).c_str(), type);
}

void Win32ProcessControl::exitNow(int code) { ExitProcess(static_cast<UINT>(code)); }

}  // namespace zr::platform::win32
