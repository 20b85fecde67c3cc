// The kernel's Win32 side: the thread's message pump, the performance
// counter and the waits that pace frames.
#include <windows.h>
#include <mmsystem.h>

#include "engine/core/kernel.h"
#include "engine/core/log.h"
#include "engine/core/scoped_handle_win32.h"

// Windows 10 1803 on; older systems refuse the flag, and the timer is not made.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

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
  // The wait answers messages other threads send to the loop's windows (a
  // host moving or closing its preview, the system's broadcasts): their
  // senders are blocked until we reply, which would otherwise be at the next
  // frame's pump. Posted messages, input among them, wait for that pump: a
  // frame at most, and a moving mouse does not draw frames early.
  void WaitUntil(int64_t counter) override {
    int64_t now = 0, frequency = 0;
    if (!QueryCounter(now) || !QueryFrequency(frequency) || counter <= now) return;
    const double ms = static_cast<double>(counter - now) * 1000.0 / static_cast<double>(frequency);
    if (!triedTimer) {
      triedTimer = true;
      timer.reset(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
      // A plain timeout comes in steps of the system timer, 15.6 ms unless
      // someone asks for finer: without the precise timer, ask while we wait.
      if (!timer) {
        raisedResolution = timeBeginPeriod(1) == TIMERR_NOERROR;
        MainLog() << "<i> " << "no high-resolution timer: frames paced by timed waits, timer resolution "
                  << (raisedResolution ? "1 ms" : "unchanged") << "\n";
      }
    }
    bool timerSet = false;
    if (timer) {
      LARGE_INTEGER due;
      due.QuadPart = -static_cast<LONGLONG>(ms * 10000.0);  // relative, in 100 ns units
      timerSet = SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE) != FALSE;
    }
    for (;;) {
      DWORD timeout = INFINITE;
      if (!timerSet) {
        if (!QueryCounter(now) || counter <= now) return;
        timeout = static_cast<DWORD>(static_cast<double>(counter - now) * 1000.0 / static_cast<double>(frequency) + 0.5);
      }
      HANDLE handle = timer.get();
      const DWORD woke = MsgWaitForMultipleObjectsEx(timerSet ? 1 : 0, &handle, timeout, QS_SENDMESSAGE, 0);
      if (woke != WAIT_OBJECT_0 + (timerSet ? 1 : 0)) {
        if (woke == WAIT_FAILED) Sleep(timeout == INFINITE ? static_cast<DWORD>(ms + 0.5) : timeout);
        return;  // the timer fired or the timeout passed
      }
      // Delivers the messages sent to this thread and removes nothing posted.
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
  }
  // Everything counts here, posted messages and input included: asleep, the
  // loop has no frame to wait for, and a key or a wake-up message must be
  // answered at once. The thread's queue was just emptied by the pump, so
  // the wait does not return for something already there.
  void WaitForMessage() override {
    if (MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_FAILED)
      Sleep(100);  // never spin: a failed wait is retried after a pause
  }
  void EndWaits() override {
    timer.reset();
    if (raisedResolution) timeEndPeriod(1);
    raisedResolution = false;
    triedTimer = false;
  }

 private:
  // Made at the first wait of a run, given back by EndWaits.
  ScopedKernelHandle timer;
  bool triedTimer = false;
  bool raisedResolution = false;
};
}  // namespace

IKernelPlatform& DefaultKernelPlatform() {
  static Win32KernelPlatform platform;
  return platform;
}
