#pragma once
// The real platform services on Windows.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/services.h"

namespace zr::platform::win32 {

class Win32Clock final : public Clock {
 public:
  text::Date today() const override;
  std::uint32_t tickCount() const override;
};

// The program's paths are real Windows paths, given in GBK.
class Win32FileSystem final : public FileSystem {
 public:
  std::optional<std::string> readFile(const std::string& path) override;
  bool exists(const std::string& path) override;
  bool writeFileAtomic(const std::string& path, std::string_view bytes) override;

 private:
  std::atomic<unsigned> nextTemp_{0};
};

// Puts text on the clipboard both as Unicode and as GBK bytes, so that every
// program pastes the right characters whatever the system's code page.
class Win32Clipboard final : public Clipboard {
 public:
  Win32Clipboard();
  ~Win32Clipboard() override;
  bool setText(const std::string& gbk) override;
  std::optional<std::string> text() override;

 private:
  bool open();
  HWND owner_;
};

class Win32Sound final : public Sound {
 public:
  ~Win32Sound() override;
  void playWav(std::span<const std::uint8_t> wav) override;

 private:
  std::mutex mutex_;
  // Asynchronous playback reads the image while it plays, so it is kept here
  // until the next sound replaces it.
  std::vector<std::uint8_t> image_;
};

class Win32Dialogs final : public Dialogs {
 public:
  void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
};

class Win32ProcessControl final : public ProcessControl {
 public:
  void exitNow(int code) override;
};

}  // namespace zr::platform::win32
