// Process-wide singletons: one global handle each, filled on first use and
// released at process exit in a fixed order (engine objects first, the GL
// window settings last). The logs outlive all of them.
#pragma once

#include <atomic>
#include <mutex>

enum class SingletonSlot {
  LibTexture,
  LibFont,
  VideoUpdateTask,
  VekKernel,
  VekModule,
  PaletteContainer,
  VivarnTask,
  GLWindow,
  GLWindowSettings,
  Count
};

namespace singleton_detail {
std::recursive_mutex& CreationLock();
// Records a release function for the slot; the first registration also
// arranges for ReleaseSingletons to run at exit.
void RegisterRelease(SingletonSlot slot, void (*release)());
}  // namespace singleton_detail

// Releases every registered global handle, slot by slot. Runs at exit; tests
// call it directly. A handle that is empty is skipped, never created; a
// singleton used again afterwards is created anew.
void ReleaseSingletons();

// The global handle of one singleton type. The handle object itself is never
// destroyed, so exit-time static destructors cannot release it out of order.
template <class Handle, class Object, SingletonSlot Slot>
Handle& SingletonInstance() {
  static Handle* global = new Handle();
  static std::atomic<bool> created{false};
  if (!created.load(std::memory_order_acquire)) {
    std::lock_guard<std::recursive_mutex> guard(singleton_detail::CreationLock());
    if (!created.load(std::memory_order_relaxed)) {
      singleton_detail::RegisterRelease(Slot, [] {
        std::lock_guard<std::recursive_mutex> relock(singleton_detail::CreationLock());
        created.store(false, std::memory_order_release);
        global->Reset();
      });
      global->Adopt(new Object());
      created.store(true, std::memory_order_release);
    }
  }
  return *global;
}
