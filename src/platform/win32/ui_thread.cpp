#include "platform/win32/ui_thread.h"

namespace zr::platform::win32 {

namespace {

constexpr wchar_t kClassName[] = L"zrtk.UiThread";
constexpr wchar_t kNavigableProp[] = L"zrtk.Navigable";

using Task = std::function<void()>;

}  // namespace

Win32UiThread::Win32UiThread() : threadId_(GetCurrentThreadId()), taskMessage_(RegisterWindowMessageW(L"zrtk.UiTask")) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = windowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
  hwnd_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
}

Win32UiThread::~Win32UiThread() {
  shutDown();
  dropPending();
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK Win32UiThread::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32UiThread*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && msg == self->taskMessage_) {
    self->runQueued();
    return 0;
  }
  if (self && msg == WM_TIMER) {
    self->fireTimer(wp);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void Win32UiThread::post(std::function<void()> task) {
  std::lock_guard lock(mutex_);
  if (shutDown_ || !hwnd_) return;  // the task goes, and what it holds with it
  queue_.push_back(std::move(task));
  if (!wakePosted_) wakePosted_ = PostMessageW(hwnd_, taskMessage_, 0, 0) != 0;
}

void Win32UiThread::runQueued() {
  // The work queued by now runs, one task at a time taken from the queue
  // itself: a task that runs a modal loop (a message box) lets the tasks after
  // it run in their order inside that loop. Work queued meanwhile waits for
  // the next wake-up, so input and painting get their turn between batches.
  std::size_t count;
  {
    std::lock_guard lock(mutex_);
    wakePosted_ = false;
    count = queue_.size();
  }
  for (; count > 0; --count) {
    Task task;
    {
      std::lock_guard lock(mutex_);
      if (shutDown_ || queue_.empty()) break;
      task = std::move(queue_.front());
      queue_.pop_front();
    }
    if (task) task();
  }
  std::lock_guard lock(mutex_);
  if (!queue_.empty() && !wakePosted_ && !shutDown_) wakePosted_ = PostMessageW(hwnd_, taskMessage_, 0, 0) != 0;
}

bool Win32UiThread::onUiThread() const { return GetCurrentThreadId() == threadId_; }

void Win32UiThread::setTimer(const void* key, int periodMs, std::function<void()> tick) {
  {
    std::lock_guard lock(mutex_);
    auto& timer = timers_[key];
    if (timer.id == 0) {
      timer.id = nextTimerId_++;
      timerKeys_[timer.id] = key;
    }
    timer.periodMs = periodMs > 0 ? periodMs : 0;
    timer.tick = periodMs > 0 ? std::move(tick) : nullptr;
  }
  // A window timer belongs to the window's thread, so other threads hand the
  // change over; the posted step applies whatever is current when it runs.
  if (onUiThread()) {
    applyTimer(key);
  } else {
    post([this, key] { applyTimer(key); });
  }
}

void Win32UiThread::applyTimer(const void* key) {
  UINT_PTR id;
  int period;
  {
    std::lock_guard lock(mutex_);
    auto it = timers_.find(key);
    if (it == timers_.end()) return;
    id = it->second.id;
    period = it->second.periodMs;
    it->second.armed = period > 0;
  }
  if (period > 0) {
    SetTimer(hwnd_, id, static_cast<UINT>(period), nullptr);
  } else {
    KillTimer(hwnd_, id);
  }
}

void Win32UiThread::fireTimer(UINT_PTR id) {
  std::function<void()> tick;
  {
    std::lock_guard lock(mutex_);
    if (shutDown_) return;
    auto key = timerKeys_.find(id);
    if (key == timerKeys_.end()) return;
    const auto& timer = timers_[key->second];
    if (!timer.armed || !timer.tick) return;
    tick = timer.tick;
  }
  tick();
}

int Win32UiThread::run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (top && GetPropW(top, kNavigableProp) && IsDialogMessageW(top, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

void Win32UiThread::quit(int code) {
  if (onUiThread()) {
    PostQuitMessage(code);
  } else {
    post([code] { PostQuitMessage(code); });
  }
}

void Win32UiThread::shutDown() {
  std::lock_guard lock(mutex_);
  shutDown_ = true;
}

void Win32UiThread::markNavigable(HWND top) { SetPropW(top, kNavigableProp, reinterpret_cast<HANDLE>(1)); }

void Win32UiThread::dropPending() {
  std::deque<Task> dropped;
  std::lock_guard lock(mutex_);
  dropped.swap(queue_);
}

}  // namespace zr::platform::win32
