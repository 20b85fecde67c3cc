// The settings record's defaults and current size, and the frame-rate figure
// the video task logs.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/singleton.h"
#include "engine/gfx/gl_window_settings.h"
#include "engine/gfx/video_frame_rate.h"

TEST(GLWindowSettings, DefaultsComeFromFirstUse) {
  ReleaseSingletons();
  GLWindowSettingsBase& s = *GLWindowSettings::Instance();
  EXPECT_FALSE(s.fullScreen);
  EXPECT_EQ(s.swapInterval, 0);
  EXPECT_EQ(s.colorBits, 32);
  EXPECT_EQ(s.windowWidth, 640);
  EXPECT_EQ(s.windowHeight, 480);
  EXPECT_EQ(s.parentWindow, nullptr);
  EXPECT_EQ(s.className, L"csGLWindow");
  EXPECT_FALSE(s.classRegistered);
  int32_t w = -1, h = -1;
  QueryDesktopSize(w, h);
  EXPECT_EQ(s.screenWidth, w);
  EXPECT_EQ(s.screenHeight, h);
  ReleaseSingletons();
}

TEST(GLWindowSettings, CurrentSizeFollowsFullScreen) {
  GLWindowSettingsBase s;
  s.windowWidth = 640;
  s.windowHeight = 640;
  s.screenWidth = 1280;
  s.screenHeight = 1024;
  EXPECT_EQ(s.CurrentWidth(), 640);
  EXPECT_EQ(s.CurrentHeight(), 640);
  s.fullScreen = true;
  EXPECT_EQ(s.CurrentWidth(), 1280);
  EXPECT_EQ(s.CurrentHeight(), 1024);
}

struct RateCase {
  int32_t frames;
  float intervalMs;
  double expected;
};

class AverageFrameRateTable : public testing::TestWithParam<RateCase> {};

TEST_P(AverageFrameRateTable, FramesOverSeconds) {
  const RateCase& c = GetParam();
  const double rate = AverageFrameRate(c.frames, c.intervalMs);
  EXPECT_TRUE(std::isfinite(rate));
  EXPECT_NEAR(rate, c.expected, 1e-9 * (1.0 + c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, AverageFrameRateTable,
                         testing::Values(RateCase{120, 2000.0f, 60.0},    // two seconds at 60 Hz
                                         RateCase{1, 4.0f, 250.0},
                                         RateCase{0, 0.25f, 0.0},         // stopped before any frame
                                         RateCase{0, 0.0f, 0.0},          // no counter: no NaN
                                         RateCase{10, 0.0f, 0.0},         // no counter: no infinity
                                         RateCase{10, -3.0f, 0.0}));      // counter went backwards
