#include "life/task_host.h"

#include <atomic>

namespace {
std::atomic<int32_t> headlessWidth{640};
std::atomic<int32_t> headlessHeight{640};
}  // namespace

void SetOutputSize(int32_t width, int32_t height) {
  headlessWidth.store(width, std::memory_order_relaxed);
  headlessHeight.store(height, std::memory_order_relaxed);
}

OutputSize HeadlessOutputSize() {
  return OutputSize{headlessWidth.load(std::memory_order_relaxed), headlessHeight.load(std::memory_order_relaxed)};
}
