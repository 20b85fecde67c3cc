// The kernel's Win32 side: the thread's message pump and the performance
// counter.
#include <windows.h>

#include "engine/core/kernel.h"

namespace {
class Win32KernelPlatform final : public IKernelPlatform {
 public:
  bool QueryFrequency(int64_t& ticksPerSecond) override {
    LARGE_INTEGER f;
    if (!QueryPerformanceFrequency(&f)) return false;
    ticksPerSecond = f.QuadPart;
    return true;
  }
  bool QueryCounter(int64_t& ticks) override {
    LARGE_INTEGER c;
    if (!QueryPerformanceCounter(&c)) return false;
    ticks = c.QuadPart;
    return true;
  }
  // The fetch result is deliberately not examined: WM_QUIT is handled like any
  // other message and does not end the loop; the task list decides that.
  void PumpMessages(VekKernelBase& kernel) override {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (msg.hwnd && !IsWindowUnicode(msg.hwnd)) GetMessageA(&msg, nullptr, 0, 0);
      else GetMessageW(&msg, nullptr, 0, 0);
      if (kernel.DispatchMsg(msg.hwnd, msg.message, msg.wParam, msg.lParam)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
};
}  // namespace

IKernelPlatform& DefaultKernelPlatform() {
  static Win32KernelPlatform platform;
  return platform;
}
