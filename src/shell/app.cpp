#include "shell/app.h"

#include <chrono>
#include <thread>

#include "text/dates.h"

namespace zr::shell {

bool Workers::start(SharedState& state, HandleSlot& slot, std::function<void()> routine) {
  std::uint64_t handle;
  {
    std::lock_guard lock(mutex_);
    handle = nextHandle_++;
    ++running_;
  }
  {
    // The slot takes the new handle before the thread runs, so the routine's
    // finishWorker always closes its own handle or a newer one.
    std::lock_guard lock(state.mutex);
    slot.handle = handle;
    slot.closed = false;
  }
  try {
    std::thread([this, routine = std::move(routine)] {
      routine();
      std::lock_guard lock(mutex_);
      if (--running_ == 0) idle_.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    std::lock_guard lock(mutex_);
    --running_;
    std::lock_guard stateLock(state.mutex);
    if (slot.handle == handle) slot.handle = 0;
    return false;
  }
  return true;
}

void Workers::finish(SharedState& state, HandleSlot& slot) {
  std::lock_guard lock(state.mutex);
  slot.closed = true;
}

int Workers::running() const {
  std::lock_guard lock(mutex_);
  return running_;
}

bool Workers::waitIdle(int timeoutMs) const {
  std::unique_lock lock(mutex_);
  return idle_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return running_ == 0; });
}

App::App(platform::Services& services)
    : svc(services), mainForm(std::make_shared<ui::FormModel>(ui::mainFormDef(), services.ui)) {}

App::~App() = default;

void setStatus(App& app, int part, std::string text) { app.main().setStatus(part, std::move(text)); }

bool startWorker(App& app, HandleSlot& slot, std::function<void()> routine) {
  return app.workers.start(app.state, slot, std::move(routine));
}

void finishWorker(App& app, HandleSlot& slot) { app.workers.finish(app.state, slot); }

std::string todayText(App& app) { return text::todayText(app.svc.clock.today()); }

}  // namespace zr::shell
