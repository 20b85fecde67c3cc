#include "engine/core/singleton.h"

#include "engine/core/log.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {
struct Registry {
  std::vector<void (*)()> slots[static_cast<int>(SingletonSlot::Count)];
  bool exitHookInstalled = false;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry();  // outlives every static destructor
  return *registry;
}
}  // namespace

namespace singleton_detail {
std::recursive_mutex& CreationLock() {
  static std::recursive_mutex* lock = new std::recursive_mutex();
  return *lock;
}

void RegisterRelease(SingletonSlot slot, void (*release)()) {
  std::lock_guard<std::recursive_mutex> guard(CreationLock());
  Registry& r = TheRegistry();
  auto& list = r.slots[static_cast<int>(slot)];
  if (std::find(list.begin(), list.end(), release) == list.end()) list.push_back(release);
  if (!r.exitHookInstalled) {
    r.exitHookInstalled = true;
    // The logs must exist before the hook is installed so that they are torn
    // down after it: singletons write their "destroyed" lines while released.
    LifecycleLog();
    MainLog();
    std::atexit(ReleaseSingletons);
  }
}
}  // namespace singleton_detail

void ReleaseSingletons() {
  std::vector<void (*)()> order;
  {
    std::lock_guard<std::recursive_mutex> guard(singleton_detail::CreationLock());
    for (auto& list : TheRegistry().slots) order.insert(order.end(), list.begin(), list.end());
  }
  for (auto release : order) release();
}
