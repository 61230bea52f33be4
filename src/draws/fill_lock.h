#pragma once
// Two fills of the draw list never run at once: every routine that empties
// and refills 超级列表框1 holds this lock from start to end, so one that starts
// while another is filling waits for it, then runs.
#include <mutex>

#include "shell/app.h"

namespace zr::draws {

struct DrawListFill {
  std::mutex mutex;
};

inline std::mutex& drawListFillLock(shell::App& app) { return app.ext<DrawListFill>().mutex; }

// Holds the fill lock for the scope of the returned guard.
[[nodiscard]] inline std::unique_lock<std::mutex> lockDrawListFill(shell::App& app) {
  return std::unique_lock<std::mutex>(drawListFillLock(app));
}

}  // namespace zr::draws
