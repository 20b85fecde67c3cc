// The real message pump under wine: WM_QUIT does not end the loop, and a
// message a handler consumes is neither translated nor dispatched.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
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

// A message another thread sends to the loop's window (a host moving its
// preview, a broadcast) is answered while the loop waits out its frame, not
// at the next frame's pump. Whether an answer came from inside the wait is
// counted on the loop's own thread, so a busy machine's scheduling delays do
// not decide the outcome; frames of 200 ms leave the wait most of each frame.
namespace {
bool g_inWait = false;
int g_answeredInWait = 0;
int g_answered = 0;

LRESULT CALLBACK AnsweringProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NULL) {
    ++g_answered;
    if (g_inWait) ++g_answeredInWait;
  }
  return DefWindowProcW(w, m, wp, lp);
}

class MarkedWaits : public IKernelPlatform {
 public:
  bool QueryFrequency(int64_t& f) override { return real.QueryFrequency(f); }
  bool QueryCounter(int64_t& t) override { return real.QueryCounter(t); }
  void PumpMessages(VekKernelBase& k) override { real.PumpMessages(k); }
  void WaitUntil(int64_t counter) override {
    g_inWait = true;
    real.WaitUntil(counter);
    g_inWait = false;
  }
  void EndWaits() override { real.EndWaits(); }
  IKernelPlatform& real = DefaultKernelPlatform();
};
}  // namespace

TEST(KernelWait, SentMessagesAreAnsweredDuringThePacedWait) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = AnsweringProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KernelWaitTest";
  ASSERT_TRUE(RegisterClassW(&wc));
  HWND window = CreateWindowW(L"KernelWaitTest", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);

  struct UntilDone : ITask {
    bool Start() override { return true; }
    void Update() override {
      if (done.load() || GetTickCount64() > deadline) killRequested = true;
    }
    void Stop() override {}
    std::atomic<bool> done{false};
    ULONGLONG deadline = GetTickCount64() + 60000;
  };
  MarkedWaits platform;
  CRefCountPtrT<VekKernelBase> kernel(new VekKernelBase());
  kernel->SetPlatform(&platform);
  kernel->SetFramePeriod(200.0);
  auto* task = new UntilDone();
  CRefCountPtrT<ITask> keep(task);
  kernel->AddTask(task);

  std::thread sender([&] {
    for (int i = 0; i < 100; ++i) {
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
      Sleep(7);  // spreads the sends over the frames' phases
    }
    task->done = true;
  });
  kernel->Run();
  sender.join();
  DestroyWindow(window);
  EXPECT_EQ(g_answered, 100);
  EXPECT_GE(g_answeredInWait, 95) << "the others waited for the next frame's pump";
}
