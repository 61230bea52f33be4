#include "platform/fake/recorders.h"

#include <chrono>

namespace zr::fake {

bool FakeClipboard::setText(const std::string& gbk) {
  std::lock_guard lock(mutex_);
  ++sets_;
  if (held_) return false;
  content_ = gbk;
  history_.push_back(gbk);
  return true;
}

std::optional<std::string> FakeClipboard::text() {
  std::lock_guard lock(mutex_);
  if (held_) return std::nullopt;
  return content_;
}

void FakeClipboard::setHeldByOther(bool held) {
  std::lock_guard lock(mutex_);
  held_ = held;
}

std::string FakeClipboard::content() const {
  std::lock_guard lock(mutex_);
  return content_.value_or(std::string());
}

std::vector<std::string> FakeClipboard::history() const {
  std::lock_guard lock(mutex_);
  return history_;
}

int FakeClipboard::setCount() const {
  std::lock_guard lock(mutex_);
  return sets_;
}

void FakeSound::playWav(std::span<const std::uint8_t> wav) {
  std::lock_guard lock(mutex_);
  played_.emplace_back(wav.begin(), wav.end());
}

std::vector<std::vector<std::uint8_t>> FakeSound::played() const {
  std::lock_guard lock(mutex_);
  return played_;
}

int FakeSound::playCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(played_.size());
}

void FakeDialogs::messageBox(const std::string& text, const std::string& title, platform::MessageIcon icon) {
  std::lock_guard lock(mutex_);
  messages_.push_back({text, title, icon});
}

std::vector<FakeDialogs::Message> FakeDialogs::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

void FakeWindowSystem::showForm(std::shared_ptr<ui::FormModel> form, bool topmostNoActivate) {
  std::lock_guard lock(mutex_);
  shown_.push_back({std::move(form), topmostNoActivate});
}

platform::ScreenSize FakeWindowSystem::screenSize() const {
  std::lock_guard lock(mutex_);
  return screen_;
}

void FakeWindowSystem::setScreenSize(int width, int height) {
  std::lock_guard lock(mutex_);
  screen_ = {width, height};
}

std::vector<FakeWindowSystem::Shown> FakeWindowSystem::shown() const {
  std::lock_guard lock(mutex_);
  return shown_;
}

std::shared_ptr<ui::FormModel> FakeWindowSystem::lastShown(const ui::FormDef& def) const {
  std::lock_guard lock(mutex_);
  for (auto it = shown_.rbegin(); it != shown_.rend(); ++it) {
    if (&it->form->def() == &def) return it->form;
  }
  return nullptr;
}

void FakeProcess::exitNow(int code) {
  std::lock_guard lock(mutex_);
  if (!code_) code_ = code;
  ++count_;
  exited_.notify_all();
}

std::optional<int> FakeProcess::exitCode() const {
  std::lock_guard lock(mutex_);
  return code_;
}

int FakeProcess::exitCount() const {
  std::lock_guard lock(mutex_);
  return count_;
}

bool FakeProcess::waitForExit(int timeoutMs) const {
  std::unique_lock lock(mutex_);
  return exited_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return count_ > 0; });
}

}  // namespace zr::fake
