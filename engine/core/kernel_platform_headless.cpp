// The native build has no window system: no messages to pump, and the clock
// is std::chrono's steady clock in nanosecond ticks.
#include <chrono>

#include "engine/core/kernel.h"

namespace {
class HeadlessKernelPlatform final : public IKernelPlatform {
 public:
  bool QueryFrequency(int64_t& ticksPerSecond) override {
    ticksPerSecond = 1000000000;
    return true;
  }
  bool QueryCounter(int64_t& ticks) override {
    ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::steady_clock::now().time_since_epoch())
                .count();
    return true;
  }
  void PumpMessages(VekKernelBase&) override {}
};
}  // namespace

IKernelPlatform& DefaultKernelPlatform() {
  static HeadlessKernelPlatform platform;
  return platform;
}
