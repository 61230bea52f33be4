#pragma once
// The running program: the services, the main form's model, the state that
// several subsystems share, and the workers. Subsystems are free functions
// that take the App; each keeps its own state in app.ext<T>().
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "platform/services.h"
#include "ui/form_model.h"
#include "ui/forms.h"

namespace zr::shell {

// A worker's handle slot: which worker was last started into it.
struct HandleSlot {
  std::uint64_t handle = 0;  // 0: none yet
  bool closed = false;
};

// Process-wide state of several subsystems. Guard every access with `mutex`.
struct SharedState {
  std::mutex mutex;
  HandleSlot retrievalWorkerHandle, monitorWorkerHandle, lastThreeWorkerHandle, lastTwoWorkerHandle, jointWorkerHandle;
  std::vector<std::string> foundLastThreeSets, foundLastTwoSets, jointResults;
  std::string lastThreeResultText, lastTwoResultText;
  long long lastThreeAttemptCount = 0, lastTwoAttemptCount = 0;
};

// Where later subsystems plug into start-up and shut-down.
struct Hooks {
  std::function<void()> attachSkin;        // first step of main window creation
  std::function<void()> detachSkin;        // first step of shut-down
  std::function<void()> retrievalRoutine;  // the first retrieval worker (refreshDrawList)
  std::function<void()> beforeExit;        // flushes pending writes before the process ends
};

class App;

// Threads that run one routine each. Workers are never joined by the program;
// tests can wait until none runs.
class Workers {
 public:
  // Starts a thread running routine and stores its handle in slot (under the
  // shared state's mutex). Returns false when no thread could be started.
  bool start(SharedState& state, HandleSlot& slot, std::function<void()> routine);
  // The last step of a worker routine: closes the handle held in the slot.
  void finish(SharedState& state, HandleSlot& slot);
  int running() const;
  // Waits until no worker runs; false on time-out. For tests.
  bool waitIdle(int timeoutMs) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable idle_;
  int running_ = 0;
  std::uint64_t nextHandle_ = 1;
};

class App {
 public:
  explicit App(platform::Services& services);
  ~App();

  platform::Services& svc;
  std::shared_ptr<ui::FormModel> mainForm;  // the main window's model
  ui::FormModel& main() { return *mainForm; }
  SharedState state;
  Workers workers;
  Hooks hooks;

  // Per-subsystem state, created on first use and kept for the App's life.
  template <class T>
  T& ext() {
    std::lock_guard lock(extMutex_);
    auto& slot = ext_[std::type_index(typeid(T))];
    if (!slot) slot = std::shared_ptr<void>(new T(), [](void* p) { delete static_cast<T*>(p); });
    return *static_cast<T*>(slot.get());
  }

 private:
  std::mutex extMutex_;
  // Hashed, not ordered: MinGW's type_info::before() orders a type of an
  // unnamed namespace inconsistently against a named one, which breaks an
  // ordered map (each lookup of such a type could make a fresh state).
  std::unordered_map<std::type_index, std::shared_ptr<void>> ext_;
};

// Status bar parts.
inline constexpr int kNoticePart = 0;
inline constexpr int kSearchPart = 1;

void setStatus(App& app, int part, std::string text);
bool startWorker(App& app, HandleSlot& slot, std::function<void()> routine);
void finishWorker(App& app, HandleSlot& slot);
// Today as year-month-day without leading zeros, from the clock service.
std::string todayText(App& app);

// Main window: installs the shell's handlers (creation, shut-down) on the
// main form; open() of the form then runs the creation steps.
void installShell(App& app);

}  // namespace zr::shell
