// A vertical-sync change asked for by a thread that must not touch the GL
// context (the configuration pages) and carried out by the kernel thread,
// which owns it: WGL calls act on the calling thread's current context, so a
// call from anywhere else would change nothing or another context. The last
// interval posted wins; Take hands it over once. Portable.
#pragma once

#include <atomic>
#include <cstdint>

class SwapIntervalRequest {
 public:
  // Any thread.
  void Post(int32_t interval) {
    // The interval first: whoever sees the flag also sees this interval or a
    // newer one.
    interval_.store(interval);
    pending_.store(true);
  }
  // The kernel thread: true and the interval when one was posted since the
  // last Take.
  bool Take(int32_t& interval) {
    if (!pending_.exchange(false)) return false;
    interval = interval_.load();
    return true;
  }
  bool Pending() const { return pending_.load(); }
  // Forgets a request nobody took.
  void Drop() { pending_.store(false); }

 private:
  std::atomic<int32_t> interval_{0};
  std::atomic<bool> pending_{false};
};
