// The settings record's defaults and current size, the vertical-sync request
// handed between threads, and the frame-rate figure the video task logs.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "engine/core/singleton.h"
#include "engine/gl/gl_window_settings.h"
#include "engine/gl/video_frame_rate.h"

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

TEST(GLWindowSettings, SeveralMonitorsDrawAtTheFieldSizeOneKeepsTheDesktop) {
  GLWindowSettingsBase s;
  s.fullScreen = true;
  s.screenWidth = 800;
  s.screenHeight = 600;
  const MonitorArea primary{DesktopRect{0, 0, 800, 600}, true};
  EXPECT_FALSE(s.UseMonitorLayout(LayOutMonitors({primary}, MonitorSpan::AllMonitors)));
  EXPECT_FALSE(s.multiMonitor);
  EXPECT_EQ(s.CurrentWidth(), 800);

  const MonitorArea right{DesktopRect{800, 0, 1824, 768}, false};
  EXPECT_TRUE(s.UseMonitorLayout(LayOutMonitors({primary, right}, MonitorSpan::AllMonitors)));
  EXPECT_TRUE(s.multiMonitor);
  EXPECT_EQ(s.CurrentWidth(), 1824);
  EXPECT_EQ(s.CurrentHeight(), 768);
  EXPECT_TRUE(s.UseMonitorLayout(LayOutMonitors({primary, right}, MonitorSpan::PrimaryOnly)));
  EXPECT_EQ(s.CurrentWidth(), 800);
  EXPECT_EQ(s.CurrentHeight(), 600);
  EXPECT_EQ(s.monitorLayout.window.Width(), 1824);
}

TEST(GLWindowSettings, FieldAreasAreTheLayoutsOverSeveralMonitorsElseOneOfTheCurrentSize) {
  GLWindowSettingsBase s;
  s.windowWidth = 320;
  s.windowHeight = 240;
  const MonitorArea primary{DesktopRect{0, 0, 800, 600}, true};
  const MonitorArea right{DesktopRect{800, 0, 1824, 768}, false};
  const MonitorLayout each = LayOutMonitors({primary, right}, MonitorSpan::EachMonitor);
  s.UseMonitorLayout(each);
  // A window (the preview's, too) draws one field however the monitors lie.
  ASSERT_EQ(s.FieldCount(), 1u);
  EXPECT_EQ(s.FieldArea(0).width, 320);
  EXPECT_EQ(s.FieldArea(0).height, 240);
  s.fullScreen = true;
  ASSERT_EQ(s.FieldCount(), 2u);
  EXPECT_EQ(s.FieldArea(0).width, 800);
  EXPECT_EQ(s.FieldArea(1).x, 800);
  EXPECT_EQ(s.FieldArea(1).width, 1024);
  EXPECT_EQ(s.FieldArea(1).height, 768);
  EXPECT_EQ(s.FieldArea(2).width, 0);
  EXPECT_EQ(s.CurrentWidth(), 800);  // the primary's field
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

TEST(SwapIntervalRequest, HandsTheLastPostedIntervalOverOnce) {
  SwapIntervalRequest request;
  int32_t taken = -7;
  EXPECT_FALSE(request.Pending());
  EXPECT_FALSE(request.Take(taken));
  EXPECT_EQ(taken, -7);  // untouched without a request
  request.Post(1);
  request.Post(0);
  EXPECT_TRUE(request.Pending());
  ASSERT_TRUE(request.Take(taken));
  EXPECT_EQ(taken, 0);
  EXPECT_FALSE(request.Pending());
  EXPECT_FALSE(request.Take(taken));
  request.Post(2);
  request.Drop();
  EXPECT_FALSE(request.Take(taken));
  EXPECT_EQ(taken, 0);
}

TEST(SwapIntervalRequest, ATakerNeverSeesAnOlderIntervalAfterANewerOne) {
  // One thread posts rising intervals while this one takes: what is taken
  // must rise too, and the last post must be the last thing taken.
  SwapIntervalRequest request;
  constexpr int32_t kLast = 20000;
  std::thread poster([&] {
    for (int32_t i = 1; i <= kLast; ++i) request.Post(i);
  });
  std::vector<int32_t> seen;
  int32_t taken = 0;
  while (seen.empty() || seen.back() != kLast)
    if (request.Take(taken)) seen.push_back(taken);
  poster.join();
  // The flag of the last post may come after its interval was taken.
  if (request.Take(taken)) seen.push_back(taken);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), kLast);
  for (size_t i = 1; i < seen.size(); ++i) ASSERT_LE(seen[i - 1], seen[i]) << "at " << i;
}

TEST(GLWindowSettings, RequestSwapIntervalSetsTheSettingAndPostsIt) {
  ReleaseSingletons();
  GLWindowSettingsBase& s = *GLWindowSettings::Instance();
  s.RequestSwapInterval(1);
  EXPECT_EQ(s.swapInterval.load(), 1);
  int32_t taken = -1;
  ASSERT_TRUE(s.swapIntervalRequest.Take(taken));
  EXPECT_EQ(taken, 1);
  // A request left behind by a released settings object is not inherited.
  s.RequestSwapInterval(0);
  ReleaseSingletons();
  EXPECT_FALSE(GLWindowSettings::Instance()->swapIntervalRequest.Pending());
  ReleaseSingletons();
}
