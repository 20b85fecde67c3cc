// The monitors changing under a running saver (WM_DISPLAYCHANGE): the test
// display cannot change its heads, so the window is handed a new monitor
// list and sent the message. Full screen follows the new list; the message
// of our own display-mode switch and a preview change nothing.
#include <windows.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/task_engine_link_win32.h"
#include "engine/gl/monitor_layout.h"
#include "tests/gfx/gl_run_fixture_win32.h"
#include "tests/life/life_test_support.h"
#include "tests/support/log_capture.h"

namespace {

std::vector<MonitorArea> g_monitors;
std::vector<MonitorArea> TestMonitors() { return g_monitors; }

MonitorArea Monitor(int32_t left, int32_t top, int32_t width, int32_t height, bool primary = false) {
  return MonitorArea{DesktopRect{left, top, left + width, top + height}, primary};
}

RECT RectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

void ExpectRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

const char kFollowedLine[] = "GLWindow: display changed";

// How often the run took the display's rate: at the start, and again after
// a display change that was not our own.
size_t PacedTimes(const std::string& log) {
  size_t count = 0;
  for (size_t at = log.find("Frame period:"); at != std::string::npos; at = log.find("Frame period:", at + 1)) ++count;
  return count;
}

class DisplayChangeCounter : public IWindowMsgHandler {
 public:
  intptr_t HandleMessage(NativeWindow, uint32_t message, MessageWParam, MessageLParam, bool& handled) override {
    if (message == WM_DISPLAYCHANGE) ++seen;
    handled = false;
    return 0;
  }
  int seen = 0;
};

class DisplayChange : public GLRun {
 protected:
  void SetUp() override {
    GLRun::SetUp();
    probe->order = 200;  // after the Life task
    SetMonitorSource(TestMonitors);
    ConnectTaskToEngine();
    VivarnTaskBse& life = Life();
    life.CellSize = 10;
    life.LifeSpeed = 0.0f;
    life.PeriodicResetOn = false;
    life.AutoReset = false;
  }
  void TearDown() override {
    SetMonitorSource(nullptr);
    GLRun::TearDown();
  }

  VivarnTaskBse& Life() { return *VivarnTask::Instance(); }

  // `frame` is where the message is posted; the probe looks again two frames
  // later (the next pump has handled it), then ends the run.
  void RunAndChangeAt(int frame, const std::function<void()>& before, const std::function<void()>& after) {
    probe->onFrame = [&, frame](int now) {
      if (now == frame) {
        before();
        PostMessageW(Window().window, WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
      } else if (now == frame + 2) {
        after();
        Close();
      }
    };
    VekKernelBase& kernel = *VekKernel::Instance();
    kernel.AddMsgHandler(&messages);
    kernel.AddMsgHandler(&changes);
    kernel.AddTask(VideoUpdateTask::Instance().get());
    kernel.AddTask(VivarnTask::Instance().get());
    kernel.AddTask(probe.get());
    kernel.Run();
    EXPECT_FALSE(probe->timedOut);
  }

  DisplayChangeCounter changes;
};

TEST_F(DisplayChange, FullScreenCoversTheNewMonitorsAndTheFieldFollows) {
  g_monitors = {Monitor(0, 0, 640, 480, true), Monitor(640, 0, 400, 300)};
  Settings().fullScreen = true;
  RECT first{}, after{};
  int32_t firstColumns = 0, firstRows = 0, columns = 0, rows = 0;
  GLint viewport[4] = {};
  LogCapture log;
  RunAndChangeAt(
      3,
      [&] {
        first = RectOf(Window().window);
        firstColumns = Field(Life()).columns;
        firstRows = Field(Life()).rows;
        // The second monitor now stacked below a larger primary.
        g_monitors = {Monitor(0, 0, 800, 600, true), Monitor(0, 600, 800, 200)};
      },
      [&] {
        after = RectOf(Window().window);
        columns = Field(Life()).columns;
        rows = Field(Life()).rows;
        glGetIntegerv(GL_VIEWPORT, viewport);
      });

  ExpectRect(first, 0, 0, 1040, 480);
  EXPECT_EQ(firstColumns, 104);
  EXPECT_EQ(firstRows, 48);
  ExpectRect(after, 0, 0, 800, 800);
  EXPECT_EQ(columns, 80);
  EXPECT_EQ(rows, 80);
  EXPECT_EQ(viewport[2], 800);
  EXPECT_EQ(viewport[3], 800);
  EXPECT_NE(log.Text().find(kFollowedLine), std::string::npos) << log.Text();
  EXPECT_EQ(PacedTimes(log.Text()), 2u) << log.Text();
}

TEST_F(DisplayChange, OurOwnModeSwitchChangesNothing) {
  Settings().fullScreen = true;  // one monitor at the desktop size: the mode is switched
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  g_monitors = {Monitor(0, 0, w, h, true)};  // the monitor as the switch leaves it
  RECT first{}, after{};
  const float* firstCells = nullptr;
  const float* cells = nullptr;
  LogCapture log;
  RunAndChangeAt(
      3,
      [&] {
        first = RectOf(Window().window);
        firstCells = Field(Life()).cells.get();
      },
      [&] {
        after = RectOf(Window().window);
        cells = Field(Life()).cells.get();
        // The switch back at the end reports another desktop: still ours.
        g_monitors = {Monitor(0, 0, w / 2, h / 2, true)};
      });

  const std::string text = log.Text();
  ASSERT_NE(text.find("GLWindow::Go fullscreen mode"), std::string::npos) << text;
  EXPECT_GE(changes.seen, 1);
  ExpectRect(after, first.left, first.top, first.right, first.bottom);
  EXPECT_EQ(cells, firstCells);  // neither resized nor replaced
  EXPECT_EQ(text.find(kFollowedLine), std::string::npos) << text;
  std::printf("WM_DISPLAYCHANGE seen %d times\n", changes.seen);
}

TEST_F(DisplayChange, APreviewStaysInItsParent) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"DisplayChangeTestParent";
  RegisterClassW(&wc);  // may exist from an earlier case
  const HWND parent = CreateWindowW(wc.lpszClassName, L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                    nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(parent, nullptr);
  Settings().parentWindow = parent;
  g_monitors = {Monitor(0, 0, 800, 600, true), Monitor(800, 0, 400, 300)};
  RECT first{}, after{};
  int32_t firstColumns = 0, columns = 0;
  LogCapture log;
  RunAndChangeAt(
      3,
      [&] {
        first = RectOf(Window().window);
        firstColumns = Field(Life()).columns;
      },
      [&] {
        after = RectOf(Window().window);
        columns = Field(Life()).columns;
      });
  DestroyWindow(parent);

  EXPECT_GE(changes.seen, 1);
  ExpectRect(after, first.left, first.top, first.right, first.bottom);
  EXPECT_GT(firstColumns, 0);
  EXPECT_EQ(columns, firstColumns);
  EXPECT_EQ(log.Text().find(kFollowedLine), std::string::npos) << log.Text();
}

}  // namespace
