// The real message pump under wine: WM_QUIT does not end the loop, and a
// message a handler consumes is neither translated nor dispatched.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/kernel.h"

namespace {
std::vector<UINT> g_dispatched;

LRESULT CALLBACK RecordingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m >= WM_USER || m == WM_CHAR || m == WM_KEYDOWN) g_dispatched.push_back(m);
  return DefWindowProcW(w, m, wp, lp);
}

class ConsumeKeys : public IWindowMsgHandler {
 public:
  intptr_t HandleMessage(NativeWindow, uint32_t m, MessageWParam, MessageLParam, bool& handled) override {
    if (m == WM_KEYDOWN && consumeKeys) handled = true;
    return 0;
  }
  bool consumeKeys = true;
};

class CountFrames : public ITask {
 public:
  explicit CountFrames(HWND w) : window(w) {}
  bool Start() override { return true; }
  void Update() override {
    ++frames;
    if (frames == 1) {
      PostQuitMessage(0);
      PostMessageW(window, WM_KEYDOWN, 'A', 0);  // consumed: no WM_CHAR, no dispatch
      PostMessageW(window, WM_USER + 1, 0, 0);
    }
    if (frames == 5) killRequested = true;
  }
  void Stop() override {}
  HWND window;
  int frames = 0;
};
}  // namespace

TEST(KernelPump, QuitDoesNotEndTheLoopAndConsumedMessagesGoNowhere) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KernelPumpTest";
  ASSERT_TRUE(RegisterClassW(&wc));
  HWND window = CreateWindowW(L"KernelPumpTest", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);

  CRefCountPtrT<VekKernelBase> kernel(new VekKernelBase());
  ConsumeKeys handler;
  kernel->AddMsgHandler(&handler);
  auto* task = new CountFrames(window);
  CRefCountPtrT<ITask> keep(task);
  kernel->AddTask(task);
  kernel->Run();

  EXPECT_EQ(task->frames, 5);  // WM_QUIT in frame 2 did not stop it
  EXPECT_EQ(g_dispatched, (std::vector<UINT>{WM_USER + 1}));

  // Not consumed: the key reaches the window and is translated into WM_CHAR.
  g_dispatched.clear();
  handler.consumeKeys = false;
  PostMessageW(window, WM_KEYDOWN, 'A', 0);
  auto* again = new CountFrames(window);
  again->frames = 1;
  kernel->AddTask(again);
  kernel->Run();
  EXPECT_EQ(g_dispatched, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
  DestroyWindow(window);
}

// The pacing wait ends at the counter it was given (give or take the half
// millisecond a Sleep fallback rounds to), and not long after it.
TEST(KernelWait, WaitUntilEndsAtTheGivenCounter) {
  IKernelPlatform& platform = DefaultKernelPlatform();
  int64_t frequency = 0, start = 0, end = 0;
  ASSERT_TRUE(platform.QueryFrequency(frequency) && platform.QueryCounter(start));
  const int64_t target = start + frequency * 20 / 1000;
  platform.WaitUntil(target);
  ASSERT_TRUE(platform.QueryCounter(end));
  platform.EndWaits();
  EXPECT_GE(end, target - frequency / 1000);
  EXPECT_LT(end, target + frequency / 5);
}
