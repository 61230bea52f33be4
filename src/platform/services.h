#pragma once
// The platform services the core uses, each a small interface with a real
// implementation (platform/win32, platform/posix) and a test double
// (platform/fake). Text is GBK throughout.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "text/dates.h"
#include "ui/ui_thread.h"

namespace zr::ui {
class FormModel;
}
namespace zr::web {
class HttpTransport;
}

namespace zr::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual text::Date today() const = 0;         // local date
  virtual std::uint32_t tickCount() const = 0;  // milliseconds, 32-bit, wrapping
};

// Files by the program's fixed Windows paths ("D:\计划区.txt", GBK). The real
// service maps them to the file system (on Windows, the paths themselves); the
// test one keeps them in a folder of the test or in memory.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual std::optional<std::string> readFile(const std::string& path) = 0;
  // Whether the file is there, readable or not: one that another program
  // holds is not a missing file. Without a way to tell, what can be read.
  virtual bool exists(const std::string& path) { return readFile(path).has_value(); }
  // Writes the whole file at once: a temporary file beside it, then moved over
  // the old one, so a failed write never leaves it half written.
  virtual bool writeFileAtomic(const std::string& path, std::string_view bytes) = 0;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's content; false when it could not be opened.
  virtual bool setText(const std::string& gbk) = 0;
  virtual std::optional<std::string> text() = 0;
};

class Sound {
 public:
  virtual ~Sound() = default;
  // Plays a WAV image once without waiting; failures are silent.
  virtual void playWav(std::span<const std::uint8_t> wav) = 0;
};

enum class MessageIcon { Information, Error };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A modal message box with one OK button; returns when it is closed.
  virtual void messageBox(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

struct ScreenSize {
  int width = 0, height = 0;
};

// Opens forms as windows (or, headless, records them).
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Creates the native window for an opened form model; any thread. The view
  // keeps the model alive until the window is destroyed.
  virtual void showForm(std::shared_ptr<ui::FormModel> form, bool topmostNoActivate) = 0;
  virtual ScreenSize screenSize() const = 0;  // primary display, whole screen
};

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  // Ends the process at once with the code. A test double may record the
  // call and return; callers return right after it.
  virtual void exitNow(int code) = 0;
};

struct Services {
  Clock& clock;
  ui::UiThread& ui;
  FileSystem& files;
  Clipboard& clipboard;
  Sound& sound;
  Dialogs& dialogs;
  WindowSystem& windows;
  ProcessControl& process;
  web::HttpTransport& http;
};

}  // namespace zr::platform
