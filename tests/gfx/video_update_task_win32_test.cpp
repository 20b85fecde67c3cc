// The video update task under a real kernel run: what it presents, what it
// clears, the vertical-sync changes it applies, and the average rate it logs.
#include <windows.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "engine/core/log.h"
#include "engine/gl/gl_extensions_win32.h"
#include "tests/gfx/gl_run_fixture_win32.h"
#include "tests/support/log_capture.h"

namespace {
using Rgb = std::array<int, 3>;

Rgb BackBufferPixel(int x, int y) {
  unsigned char p[4] = {};
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return {p[0], p[1], p[2]};
}

void ExpectColour(const Rgb& got, const Rgb& want, const char* where) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], 2) << where << " channel " << i;
}
}  // namespace

TEST_F(GLRun, NamedAndOrderedToPresentLast) {
  EXPECT_EQ(VideoUpdateTask::Instance()->name, "Video Update");
  EXPECT_EQ(VideoUpdateTask::Instance()->order, 100000);
}

TEST_F(GLRun, FramesStartFromTheClearColourAndShowWhatWasDrawn) {
  Settings().windowWidth = 320;
  Settings().windowHeight = 240;
  const Rgb clear{64, 128, 191};  // 0.25, 0.5, 0.75
  const Rgb red{255, 0, 0};
  Rgb beforeDrawLeft{}, beforeDrawRight{}, drawnLeft{}, drawnRight{}, nextLeft{};
  int32_t orthoW = 0, orthoH = 0;
  probe->onStart = [] { glClearColor(0.25f, 0.5f, 0.75f, 1.0f); };
  probe->onFrame = [&](int frame) {
    if (frame == 2) {  // frame 1 presented and cleared the buffers
      beforeDrawLeft = BackBufferPixel(40, 120);
      beforeDrawRight = BackBufferPixel(280, 120);
      Window().BeginOrtho2D(orthoW, orthoH);
      glDisable(GL_TEXTURE_2D);
      glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
      BuildTexturedQuad(0.0f, 0.0f, orthoW / 2.0f, static_cast<float>(orthoH), false);
      glFinish();
      drawnLeft = BackBufferPixel(40, 120);
      drawnRight = BackBufferPixel(280, 120);
    } else if (frame == 3) {
      nextLeft = BackBufferPixel(40, 120);
      Close();
    }
  };
  Run();

  EXPECT_EQ(orthoW, 320);
  EXPECT_EQ(orthoH, 240);
  ExpectColour(beforeDrawLeft, clear, "cleared, left");
  ExpectColour(beforeDrawRight, clear, "cleared, right");
  ExpectColour(drawnLeft, red, "quad");
  ExpectColour(drawnRight, clear, "beside the quad");
  ExpectColour(nextLeft, clear, "after the next present");
}

TEST_F(GLRun, CompiledQuadDrawsLikeTheImmediateOne) {
  Settings().windowWidth = 200;
  Settings().windowHeight = 200;
  GLuint list = 0;
  Rgb inside{}, outside{};
  probe->onStart = [] { glClearColor(0.0f, 0.0f, 0.0f, 1.0f); };
  probe->onFrame = [&](int frame) {
    if (frame != 2) return;
    int32_t w = 0, h = 0;
    Window().BeginOrtho2D(w, h);
    list = BuildTexturedQuad(0.0f, 0.0f, 1.0f, 1.0f, true);
    glColor4f(0.0f, 1.0f, 0.0f, 1.0f);
    glScalef(100.0f, 100.0f, 1.0f);  // the unit quad scaled to the lower-left quarter
    glCallList(list);
    glFinish();
    inside = BackBufferPixel(50, 50);
    outside = BackBufferPixel(150, 150);
    Close();
  };
  Run();
  EXPECT_NE(list, 0u);
  ExpectColour(inside, {0, 255, 0}, "unit quad");
  ExpectColour(outside, {0, 0, 0}, "beside the unit quad");
}

TEST_F(GLRun, AverageRateIsFramesOverTheRunsSeconds) {
  const int kProbeFrames = 40;
  int64_t firstFrame = 0, lastFrame = 0;
  probe->onFrame = [&](int frame) {
    if (frame == 1) firstFrame = CounterNow();
    if (frame == kProbeFrames) {
      lastFrame = CounterNow();
      VekKernel::Instance()->StopAllTasks();  // the video task stops in this same pass
    }
  };
  LogCapture log;
  const int64_t before = CounterNow();
  Run();
  const int64_t after = CounterNow();

  const int32_t presented = VideoUpdateTask::Instance()->frames;
  EXPECT_EQ(presented, kProbeFrames - 1);
  const double rate = LoggedFrameRate(log.Text());
  ASSERT_GT(rate, 0.0) << log.Text();
  // Start..Stop lies inside [before, after] and contains [firstFrame, lastFrame].
  const double slowest = presented / CounterSeconds(after - before);
  const double fastest = presented / CounterSeconds(lastFrame - firstFrame);
  EXPECT_GE(rate, slowest * (1.0 - 1e-4));
  EXPECT_LE(rate, fastest * (1.0 + 1e-4));
  EXPECT_NE(log.Text().find("<i> Average FPS Rate:"), std::string::npos);
}

TEST_F(GLRun, StopRightAfterStartLogsZero) {
  probe->onStart = [] { VekKernel::Instance()->StopAllTasks(); };
  LogCapture log;
  Run();
  EXPECT_EQ(VideoUpdateTask::Instance()->frames, 0);
  EXPECT_EQ(probe->frames, 0);
  EXPECT_NE(log.Text().find("<i> Average FPS Rate:0\n"), std::string::npos) << log.Text();
}

TEST_F(GLRun, SwapIntervalAskedForFromAnotherThreadIsAppliedAtTheNextFrame) {
  Settings().swapInterval = 0;
  GLWindowSettingsBase* settings = &Settings();
  bool swapControl = false;
  bool contextHere = false;
  int32_t started = -1, afterPost = -1, nextFrame = -1, switchedBack = -1;
  bool pendingAfterPost = false, pendingAtNextFrame = true;
  // The posting thread has no GL context, like the configuration pages'.
  auto post = [settings](int32_t interval) {
    std::thread([settings, interval] { settings->RequestSwapInterval(interval); }).join();
  };
  probe->onFrame = [&](int frame) {
    if (frame == 2) {
      swapControl = GLExt().wglGetSwapIntervalEXT != nullptr;
      contextHere = wglGetCurrentContext() == Window().context;
      if (!swapControl) {
        Close();
        return;
      }
      started = GLExt().wglGetSwapIntervalEXT();
      post(1);
      pendingAfterPost = settings->swapIntervalRequest.Pending();
      afterPost = GLExt().wglGetSwapIntervalEXT();
    } else if (frame == 3) {
      // The video task's Update ran in between.
      pendingAtNextFrame = settings->swapIntervalRequest.Pending();
      nextFrame = GLExt().wglGetSwapIntervalEXT();
      post(0);
    } else if (frame == 4) {
      switchedBack = GLExt().wglGetSwapIntervalEXT();
      Close();
    }
  };
  Run();
  EXPECT_TRUE(contextHere);
  if (!swapControl) GTEST_SKIP() << "the GL driver offers no WGL_EXT_swap_control";
  EXPECT_EQ(started, 0);  // the settings' interval, applied by SetupContext
  EXPECT_TRUE(pendingAfterPost);
  EXPECT_EQ(afterPost, 0);  // posting changed nothing by itself
  EXPECT_FALSE(pendingAtNextFrame);
  EXPECT_EQ(nextFrame, 1);
  EXPECT_EQ(switchedBack, 0);
  EXPECT_EQ(Settings().swapInterval.load(), 0);
}

TEST_F(GLRun, SwapIntervalRequestWithoutAWindowIsDroppedWithoutEffect) {
  // Not running: no context to apply it to, and nothing is kept for later.
  Settings().RequestSwapInterval(1);
  EXPECT_FALSE(Window().ApplyRequestedSwapInterval());
  EXPECT_FALSE(Settings().swapIntervalRequest.Pending());
  EXPECT_EQ(Settings().swapInterval.load(), 1);
  Settings().swapInterval = 0;
}
