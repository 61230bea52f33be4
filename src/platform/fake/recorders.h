#pragma once
// Test doubles that record what the program asked of the desktop: the
// clipboard, the chime, message boxes, opened windows and the process exit.
// Each is safe to use from several threads.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"
#include "ui/form_model.h"

namespace zr::fake {

class FakeClipboard : public platform::Clipboard {
 public:
  bool setText(const std::string& gbk) override;  // false (and unchanged) while held
  std::optional<std::string> text() override;     // nullopt while held or when empty

  // While held the clipboard behaves as if another program had it open.
  void setHeldByOther(bool held);
  std::string content() const;               // the text, "" when none
  std::vector<std::string> history() const;  // every text set successfully, in order
  int setCount() const;                      // setText calls, failed ones included

 private:
  mutable std::mutex mutex_;
  std::optional<std::string> content_;
  std::vector<std::string> history_;
  bool held_ = false;
  int sets_ = 0;
};

class FakeSound : public platform::Sound {
 public:
  void playWav(std::span<const std::uint8_t> wav) override;
  std::vector<std::vector<std::uint8_t>> played() const;  // the images, in order
  int playCount() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::vector<std::uint8_t>> played_;
};

class FakeDialogs : public platform::Dialogs {
 public:
  struct Message {
    std::string text, title;
    platform::MessageIcon icon;
  };
  // Records the box and returns at once, as if OK had been pressed.
  void messageBox(const std::string& text, const std::string& title, platform::MessageIcon icon) override;
  std::vector<Message> messages() const;

 private:
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
};

class FakeWindowSystem : public platform::WindowSystem {
 public:
  struct Shown {
    std::shared_ptr<ui::FormModel> form;
    bool topmostNoActivate = false;
  };
  void showForm(std::shared_ptr<ui::FormModel> form, bool topmostNoActivate) override;
  platform::ScreenSize screenSize() const override;

  void setScreenSize(int width, int height);  // 1920x1080 at first
  std::vector<Shown> shown() const;           // every form shown, in order
  // The last form shown of this kind (main or notification), or null.
  std::shared_ptr<ui::FormModel> lastShown(const ui::FormDef& def) const;

 private:
  mutable std::mutex mutex_;
  std::vector<Shown> shown_;
  platform::ScreenSize screen_{1920, 1080};
};

class FakeProcess : public platform::ProcessControl {
 public:
  // Records the code and returns, as the callers expect of a test double.
  void exitNow(int code) override;
  std::optional<int> exitCode() const;  // the first code asked for
  int exitCount() const;
  // Waits until exitNow has been called; false on time-out (real ms).
  bool waitForExit(int timeoutMs) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable exited_;
  std::optional<int> code_;
  int count_ = 0;
};

}  // namespace zr::fake
