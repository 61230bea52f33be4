#pragma once
// The signal that a request thread has ended, and the caller's wait for it
// with a time limit. On Windows a thread that has a message queue keeps it
// served while it waits; any other thread waits plainly.
#include <chrono>
#include <memory>

namespace zr::web {

class DoneEvent {
 public:
  DoneEvent();
  ~DoneEvent();
  DoneEvent(const DoneEvent&) = delete;
  DoneEvent& operator=(const DoneEvent&) = delete;

  // Marks the event; what the setter wrote before is visible to a waiter that sees it.
  void set();
  // True when the event was set within the limit.
  bool wait(std::chrono::milliseconds limit);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zr::web
