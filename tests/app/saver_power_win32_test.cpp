// The power handler on a real window and the kernel's real loop and waits:
// the power messages are sent to the window in-process, since wine never
// sends them itself (its power-setting registration is a stub).
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/saver_app_win32.h"
#include "engine/core/kernel.h"
#include "tests/support/log_capture.h"

namespace {
VekKernelBase* g_kernel = nullptr;

// As the GL window's procedure: the kernel's handlers see every message first.
LRESULT CALLBACK PowerTestProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (g_kernel && g_kernel->DispatchMsg(w, m, wp, lp)) return 0;
  if (m == WM_CLOSE) {
    if (g_kernel) g_kernel->StopAllTasks();
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

HWND MakeWindow() {
  static bool registered = false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PowerTestProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"SaverPowerTest";
    registered = RegisterClassW(&wc) != 0;
  }
  return CreateWindowW(L"SaverPowerTest", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, instance, nullptr);
}

// A POWERBROADCAST_SETTING of GUID_CONSOLE_DISPLAY_STATE with one DWORD.
struct DisplayState {
  GUID setting;
  DWORD length;
  DWORD state;
};
DisplayState Display(DWORD state) {
  return {{0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}}, sizeof(DWORD), state};
}

class CountingTask : public ITask {
 public:
  bool Start() override { return true; }
  void Update() override {
    ++frames;
    if (onFrame) onFrame(frames);
    if (frames > 50) killRequested = true;  // gives up rather than hangs
  }
  void Stop() override {}
  std::atomic<int> frames{0};
  std::function<void(int)> onFrame;
};

struct PowerRun {
  HWND window = nullptr;
  CRefCountPtrT<VekKernelBase> kernel{new VekKernelBase()};
  CountingTask* task = new CountingTask();
  CRefCountPtrT<ITask> keep{task};
  std::unique_ptr<ScreenSaverMsgsHandler> input = MakeScreenSaverMsgsHandler();
  std::unique_ptr<PowerMsgsHandler> power;
  PowerRun(uint32_t onBattery, PowerSource source) {
    window = MakeWindow();
    g_kernel = kernel.get();
    power = MakePowerMsgsHandler(onBattery, *kernel, [source] { return source; });
    kernel->AddMsgHandler(input.get());
    kernel->AddMsgHandler(power.get());
    kernel->AddTask(task);
  }
  ~PowerRun() {
    g_kernel = nullptr;
    EndPowerWatch();
    DestroyWindow(window);
    MSG drain;
    while (PeekMessageW(&drain, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
};

// Another thread's wait until the loop's thread sleeps in a message wait
// (not a busy loop): its CPU time stays still across a few checks.
bool WaitUntilIdle(HANDLE thread) {
  auto cpu = [&] {
    FILETIME created, exited, kernelTime, userTime;
    GetThreadTimes(thread, &created, &exited, &kernelTime, &userTime);
    return (uint64_t(kernelTime.dwHighDateTime) << 32 | kernelTime.dwLowDateTime) +
           (uint64_t(userTime.dwHighDateTime) << 32 | userTime.dwLowDateTime);
  };
  int still = 0;
  for (int i = 0; i < 400 && still < 5; ++i) {
    const uint64_t before = cpu();
    Sleep(20);
    still = cpu() == before ? still + 1 : 0;
  }
  return still >= 5;
}
}  // namespace

TEST(SaverPower, TheDisplayGoingOffPutsTheLoopToSleepUntilItComesBack) {
  PowerRun run(kBatteryHalfRate, PowerSource{});
  HANDLE loopThread = nullptr;
  DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &loopThread, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  std::atomic<int> framesWhenAsleep{-1};
  std::atomic<bool> idle{false};
  std::thread waker;
  run.task->onFrame = [&](int frame) {
    if (frame == 1) PostMessageW(run.window, WM_NULL, 0, 0);  // the handler starts with a window
    if (frame != 2) return;
    DisplayState off = Display(0);
    SendMessageW(run.window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&off));
    EXPECT_TRUE(run.kernel->Asleep());
    waker = std::thread([&] {
      idle = WaitUntilIdle(loopThread);
      framesWhenAsleep = run.task->frames.load();
      DisplayState on = Display(1);
      SendMessageW(run.window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&on));
      PostMessageW(run.window, WM_KEYDOWN, 'A', 0);
    });
  };
  LogCapture log;
  run.kernel->Run();
  if (waker.joinable()) waker.join();
  CloseHandle(loopThread);
  EXPECT_TRUE(idle) << "the sleeping loop kept using the processor";
  EXPECT_EQ(framesWhenAsleep, 2) << "frames were drawn with the display off";
  EXPECT_FALSE(run.kernel->Asleep());
  EXPECT_LT(run.task->frames, 50) << "the key press after waking did not end the run";
  EXPECT_NE(log.Text().find("Power: display off, asleep"), std::string::npos) << log.Text();
}

TEST(SaverPower, OnBatteryTheChoiceHalvesTheRateOrSleepsBehindBlackUntilAKey) {
  {
    PowerRun run(kBatteryHalfRate, PowerSource{true, false});
    run.kernel->SetFramePeriod(10.0);
    run.task->onFrame = [&](int frame) {
      if (frame == 1) PostMessageW(run.window, WM_NULL, 0, 0);
      if (frame == 3) run.kernel->StopAllTasks();
    };
    LogCapture log;
    run.kernel->Run();
    EXPECT_EQ(run.kernel->FrameRateDivisor(), 2);
    EXPECT_FALSE(run.kernel->Asleep());
  }
  {
    PowerRun run(kBatteryBlack, PowerSource{true, false});
    LogCapture log;
    // A message before the loop starts, as the window's creation gives the real run.
    bool handled = false;
    run.power->HandleMessage(run.window, WM_NULL, 0, 0, handled);
    ASSERT_TRUE(run.kernel->Asleep());
    std::thread key([&] {
      Sleep(50);
      PostMessageW(run.window, WM_KEYDOWN, 'A', 0);
    });
    run.kernel->Run();
    key.join();
    EXPECT_EQ(run.task->frames, 0) << "frames were drawn on battery with a black screen chosen";
    EXPECT_NE(log.Text().find("Power: black screen, asleep"), std::string::npos) << log.Text();
  }
}
