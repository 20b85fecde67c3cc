// The GL window under a real kernel run: windowed, as a child, full screen and
// its fallback, and how it ends.
#include <windows.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "engine/core/log.h"
#include "tests/gfx/gl_run_fixture_win32.h"
#include "tests/support/log_capture.h"

namespace {
RECT ClientOf(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return r;
}

void Viewport(GLint v[4]) { glGetIntegerv(GL_VIEWPORT, v); }

const char kFallbackLine[] =
    "<!> The requested fullscreen mode is not supported by your video card. Switching to windowed mode.\n";
}  // namespace

TEST_F(GLRun, WindowedRunShowsTheSettingsSizeAndCloseStopsEverything) {
  Settings().windowX = 20;
  Settings().windowY = 30;
  Settings().windowWidth = 400;
  Settings().windowHeight = 300;
  HWND seen = nullptr;
  bool visible = false, isMain = false;
  RECT client{};
  GLint viewport[4] = {};
  probe->onFrame = [&](int frame) {
    if (frame != 3) return;
    seen = Window().window;
    visible = IsWindowVisible(seen);
    isMain = VekModule::Instance()->mainWindow == seen;
    client = ClientOf(seen);
    Viewport(viewport);
    Close();
  };
  LogCapture log;
  Run();

  ASSERT_NE(seen, nullptr);
  EXPECT_TRUE(visible);
  EXPECT_TRUE(isMain);
  EXPECT_EQ(client.right - client.left, 400);
  EXPECT_EQ(client.bottom - client.top, 300);
  EXPECT_EQ(viewport[2], 400);
  EXPECT_EQ(viewport[3], 300);
  EXPECT_EQ(Settings().windowWidth, 400);  // the client size, not the framed one
  EXPECT_EQ(Settings().windowHeight, 300);

  // WM_CLOSE flagged every task and posted quit; the loop ended by itself.
  EXPECT_TRUE(probe->stopped);
  EXPECT_TRUE(probe->killRequested);
  EXPECT_TRUE(VideoUpdateTask::Instance()->killRequested);
  EXPECT_TRUE(messages.sawQuit);
  EXPECT_EQ(VekKernel::Instance()->TaskCount(), 0);
  // The window outlived WM_CLOSE and was destroyed by the video task's Stop.
  EXPECT_TRUE(probe->windowAliveAtStop);
  EXPECT_FALSE(IsWindow(seen));
  EXPECT_EQ(Window().window, nullptr);
  EXPECT_NE(log.Text().find("Average FPS Rate:"), std::string::npos);
}

class ChildRun : public GLRun {
 protected:
  void SetUp() override {
    GLRun::SetUp();
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"GLWindowTestParent";
    RegisterClassW(&wc);  // may exist from an earlier case
    parent = CreateWindowW(L"GLWindowTestParent", L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 520, 420,
                           nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(parent, nullptr);
    Settings().windowWidth = 640;
    Settings().windowHeight = 640;
    Settings().parentWindow = parent;
  }
  void TearDown() override {
    if (IsWindow(parent)) DestroyWindow(parent);
    GLRun::TearDown();
  }
  HWND parent = nullptr;
};

TEST_F(ChildRun, ChildFillsTheParentAndFollowsItsSize) {
  HWND child = nullptr;
  HWND childParent = nullptr;
  LONG_PTR style = 0;
  RECT parentClient{}, childClient{}, grownClient{};
  GLint first[4] = {}, afterMove[4] = {}, afterOddSize[4] = {};
  probe->onFrame = [&](int frame) {
    if (frame != 2) return;
    child = Window().window;
    childParent = GetParent(child);
    style = GetWindowLongPtrW(child, GWL_STYLE);
    parentClient = ClientOf(parent);
    childClient = ClientOf(child);
    Viewport(first);

    SetWindowPos(parent, nullptr, 0, 0, 700, 560, SWP_NOZORDER | SWP_NOMOVE);
    grownClient = ClientOf(parent);
    MoveWindow(child, 0, 0, grownClient.right, grownClient.bottom, TRUE);  // WM_SIZE
    Viewport(afterMove);
    // Whatever size the message claims, the parent's client area wins.
    SendMessageW(child, WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10));
    Viewport(afterOddSize);
    Close();
  };
  Run();

  ASSERT_NE(child, nullptr);
  EXPECT_EQ(childParent, parent);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_EQ(childClient.right, parentClient.right);
  EXPECT_EQ(childClient.bottom, parentClient.bottom);
  EXPECT_EQ(first[2], parentClient.right);
  EXPECT_EQ(first[3], parentClient.bottom);
  EXPECT_NE(grownClient.right, parentClient.right);
  EXPECT_EQ(afterMove[2], grownClient.right);
  EXPECT_EQ(afterMove[3], grownClient.bottom);
  EXPECT_EQ(afterOddSize[2], grownClient.right);
  EXPECT_EQ(afterOddSize[3], grownClient.bottom);
  EXPECT_EQ(Settings().windowWidth, 640);
  EXPECT_EQ(Settings().windowHeight, 640);
  EXPECT_TRUE(probe->stopped);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_TRUE(IsWindow(parent));
}

TEST_F(ChildRun, ParentGoingAwayEndsTheRun) {
  HWND child = nullptr;
  probe->onFrame = [&](int frame) {
    if (frame != 2) return;
    child = Window().window;
    DestroyWindow(parent);  // takes the child with it
  };
  LogCapture log;
  Run();

  ASSERT_NE(child, nullptr);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_TRUE(probe->stopped);
  EXPECT_EQ(VekKernel::Instance()->TaskCount(), 0);
  EXPECT_EQ(Window().window, nullptr);
  EXPECT_EQ(Window().context, nullptr);
  EXPECT_EQ(log.Text().find("msg << (code:"), std::string::npos) << log.Text();
  EXPECT_NE(log.Text().find("Average FPS Rate:"), std::string::npos);
}

TEST_F(GLRun, FullScreenSizeNoModeOffersFallsBackToAWindow) {
  Settings().fullScreen = true;
  Settings().screenWidth = 1234;
  Settings().screenHeight = 567;
  Settings().windowWidth = 640;
  Settings().windowHeight = 640;
  const int cursorBefore = CursorCount();
  LONG_PTR style = 0;
  RECT client{};
  int cursorDuring = 0;
  probe->onFrame = [&](int frame) {
    if (frame != 1) return;
    style = GetWindowLongPtrW(Window().window, GWL_STYLE);
    client = ClientOf(Window().window);
    cursorDuring = CursorCount();
    Close();
  };
  LogCapture log;
  Run();

  EXPECT_NE(log.Text().find(kFallbackLine), std::string::npos) << log.Text();
  EXPECT_FALSE(Settings().fullScreen);
  EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
  EXPECT_FALSE(style & WS_POPUP);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 640);
  EXPECT_EQ(cursorDuring, cursorBefore);  // the cursor stays visible
  EXPECT_EQ(log.Text().find("Restore normal screen mode"), std::string::npos);
  EXPECT_EQ(CursorCount(), cursorBefore);
}

// The display already runs the mode asked for: the switch to it changes
// nothing on the screen and waits until the first frame is shown.
TEST_F(GLRun, FullScreenAtTheDesktopModeSwitchesOnlyAfterTheFirstFrame) {
  Settings().fullScreen = true;
  std::string beforeFirstFrame;
  LogCapture log;
  probe->onFrame = [&](int frame) {
    if (frame == 1) beforeFirstFrame = log.Text();
    if (frame == 3) Close();
  };
  Run();

  const std::string text = log.Text();
  const char kSet[] = "<i> GLWindow: display mode set after the first frame\n";
  EXPECT_NE(beforeFirstFrame.find("<i> GLWindow::Go fullscreen mode\n"), std::string::npos) << beforeFirstFrame;
  EXPECT_EQ(beforeFirstFrame.find(kSet), std::string::npos) << beforeFirstFrame;
  const size_t set = text.find(kSet);
  ASSERT_NE(set, std::string::npos) << text;
  EXPECT_EQ(text.find(kSet, set + 1), std::string::npos) << text;  // once
  EXPECT_NE(text.find("<i> GLWindow::Restore normal screen mode\n", set), std::string::npos) << text;
}

TEST_F(GLRun, FullScreenAtTheDesktopSizeCoversTheScreenAndRestores) {
  Settings().fullScreen = true;  // screen size: the desktop's, from the defaults
  const int cursorBefore = CursorCount();
  LONG_PTR style = 0;
  RECT bounds{};
  int cursorDuring = 0;
  probe->onFrame = [&](int frame) {
    if (frame != 1) return;
    style = GetWindowLongPtrW(Window().window, GWL_STYLE);
    GetWindowRect(Window().window, &bounds);
    cursorDuring = CursorCount();
    Close();
  };
  LogCapture log;
  Run();

  const std::string text = log.Text();
  EXPECT_NE(text.find("<i> GLWindow::Go fullscreen mode\n"), std::string::npos) << text;
  EXPECT_EQ(text.find(kFallbackLine), std::string::npos) << text;
  EXPECT_NE(text.find("<i> GLWindow::Restore normal screen mode\n"), std::string::npos) << text;
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_EQ(bounds.left, 0);
  EXPECT_EQ(bounds.top, 0);
  EXPECT_EQ(bounds.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(bounds.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(cursorDuring, cursorBefore - 1);  // hidden while the saver runs
  EXPECT_EQ(CursorCount(), cursorBefore);     // and given back once
}

struct PixelFormatCase {
  int32_t colorBits;
  BYTE depth;
  BYTE stencil;
};

class RequestedPixelFormatTable : public testing::TestWithParam<PixelFormatCase> {};

TEST_P(RequestedPixelFormatTable, DepthAndStencilFollowColourBits) {
  const PixelFormatCase& c = GetParam();
  const PIXELFORMATDESCRIPTOR pfd = RequestedPixelFormat(c.colorBits);
  EXPECT_EQ(pfd.nSize, 40);
  EXPECT_EQ(pfd.nVersion, 1);
  EXPECT_EQ(pfd.dwFlags, static_cast<DWORD>(0x25));
  EXPECT_EQ(pfd.iPixelType, PFD_TYPE_RGBA);
  EXPECT_EQ(pfd.cColorBits, c.colorBits);
  EXPECT_EQ(pfd.cDepthBits, c.depth);
  EXPECT_EQ(pfd.cStencilBits, c.stencil);
  EXPECT_EQ(pfd.cAlphaBits, 0);
  EXPECT_EQ(pfd.cAccumBits, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, RequestedPixelFormatTable,
                         testing::Values(PixelFormatCase{32, 24, 8}, PixelFormatCase{16, 16, 0},
                                         PixelFormatCase{24, 16, 0}));

TEST_F(GLRun, SixteenColourBitsRunsWithADoubleBufferedFormat) {
  Settings().colorBits = 16;
  PIXELFORMATDESCRIPTOR chosen{};
  int described = 0;
  probe->onFrame = [&](int frame) {
    if (frame != 1) return;
    described = DescribePixelFormat(Window().dc, Window().pixelFormat, sizeof(chosen), &chosen);
    Close();
  };
  Run();
  ASSERT_NE(described, 0);
  EXPECT_TRUE(chosen.dwFlags & PFD_DOUBLEBUFFER);
  EXPECT_TRUE(chosen.dwFlags & PFD_SUPPORT_OPENGL);
  EXPECT_GE(chosen.cDepthBits, 16);
}
