// The input-close rule on a real window and through the kernel's real
// message pump: the handler's WM_CLOSE must reach the window and end the loop.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/saver_app_win32.h"
#include "engine/core/kernel.h"
#include "tests/support/log_capture.h"

namespace {
VekKernelBase* g_kernel = nullptr;
int g_closes = 0;

LRESULT CALLBACK SaverLikeProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CLOSE) {
    ++g_closes;
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
    wc.lpfnWndProc = SaverLikeProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"SaverInputTest";
    registered = RegisterClassW(&wc) != 0;
  }
  return CreateWindowW(L"SaverInputTest", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, instance, nullptr);
}

// Posts one scripted input message per frame; gives up after a frame limit so
// a rule that never closes fails instead of hanging.
class ScriptedInput : public ITask {
 public:
  ScriptedInput(HWND w, std::vector<std::pair<UINT, LPARAM>> s) : window(w), script(std::move(s)) {}
  bool Start() override { return true; }
  void Update() override {
    if (frames < script.size()) PostMessageW(window, script[frames].first, 0, script[frames].second);
    ++frames;
    if (frames > script.size() + 20) {
      gaveUp = true;
      killRequested = true;
    }
  }
  void Stop() override {}
  HWND window;
  std::vector<std::pair<UINT, LPARAM>> script;
  size_t frames = 0;
  bool gaveUp = false;
};

struct RoadResult {
  bool gaveUp;
  size_t frames;
  int closes;
};

RoadResult RunScript(std::vector<std::pair<UINT, LPARAM>> script) {
  HWND window = MakeWindow();
  EXPECT_NE(window, nullptr);
  CRefCountPtrT<VekKernelBase> kernel(new VekKernelBase());
  g_kernel = kernel.get();
  g_closes = 0;
  auto handler = MakeScreenSaverMsgsHandler();
  kernel->AddMsgHandler(handler.get());
  auto* task = new ScriptedInput(window, std::move(script));
  CRefCountPtrT<ITask> keep(task);
  kernel->AddTask(task);
  kernel->Run();
  g_kernel = nullptr;
  DestroyWindow(window);
  MSG drain;
  while (PeekMessageW(&drain, nullptr, 0, 0, PM_REMOVE)) {
  }
  return {task->gaveUp, task->frames, g_closes};
}
}  // namespace

TEST(SaverInput, KeyPressPostsCloseToTheMessageWindow) {
  HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  auto handler = MakeScreenSaverMsgsHandler();
  bool handled = true;
  handler->HandleMessage(window, WM_KEYDOWN, 'A', 0, handled);
  EXPECT_FALSE(handled);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, window, WM_CLOSE, WM_CLOSE, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, window);
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_EQ(msg.lParam, 0);
  DestroyWindow(window);
}

TEST(SaverInput, KeyPressEndsTheLoopInTheNextFrame) {
  const RoadResult r = RunScript({{WM_KEYDOWN, 0}});
  EXPECT_FALSE(r.gaveUp);
  EXPECT_EQ(r.closes, 1);
  EXPECT_LE(r.frames, 2u);
}

TEST(SaverInput, SecondMoveToANewPositionEndsTheLoop) {
  const RoadResult r = RunScript({{WM_MOUSEMOVE, MAKELPARAM(10, 10)}, {WM_MOUSEMOVE, MAKELPARAM(10, 10)},
                                  {WM_MOUSEMOVE, MAKELPARAM(40, 12)}});
  EXPECT_FALSE(r.gaveUp);
  EXPECT_EQ(r.closes, 1);
  EXPECT_GE(r.frames, 3u) << "closed before the move to a new position";
}

TEST(SaverInput, ClicksWheelAndAltKeysKeepTheLoopRunning) {
  const RoadResult r = RunScript({{WM_MOUSEMOVE, MAKELPARAM(5, 5)}, {WM_LBUTTONDOWN, MAKELPARAM(5, 5)},
                                  {WM_RBUTTONDOWN, MAKELPARAM(5, 5)}, {WM_MOUSEWHEEL, MAKELPARAM(5, 5)},
                                  {WM_SYSKEYDOWN, 0}});
  EXPECT_TRUE(r.gaveUp);
  EXPECT_EQ(r.closes, 0);
}

// Without its sheet, configuration mode has nothing to end the preview with:
// it must end at once, having started no task and no kernel thread.
TEST(Configuration, ASheetThatCannotBeMadeEndsTheRunAtOnce) {
  SaverApp app;
  app.mode = kConfigure;
  app.createSheet = [](CDlgConfigSheet&) -> void* { return nullptr; };
  LogCapture capture;
  EXPECT_EQ(app.RunConfiguration(), 0);
  EXPECT_EQ(VekKernel::Instance()->TaskCount(), 0);
  EXPECT_EQ(VekKernel::Instance()->thread, kCurrentThreadPseudoHandle);
  EXPECT_NE(capture.Text().find("<!> configuration sheet could not be created"), std::string::npos) << capture.Text();
}
