#include <gtest/gtest.h>

#include <cmath>

#include "life/overlay_text.h"

namespace {
bool Same(OverlayOffset a, OverlayOffset b) { return a.x == b.x && a.y == b.y; }
}  // namespace

TEST(OverlayDrift, NeverLeavesTheRangeOfOnePointFivePercent) {
  EXPECT_EQ(DriftRange(1920), 28);
  EXPECT_EQ(DriftRange(1080), 16);
  EXPECT_EQ(DriftRange(0), 0);
  float mostX = 0.0f, mostY = 0.0f;
  // A fake clock over ten hours, one reading every 0.7 s.
  for (double s = 0.0; s < 10 * 3600.0; s += 0.7) {
    const OverlayOffset o = OverlayDrift(s, 1920, 1080);
    ASSERT_GE(o.x, 0.0f) << s;
    ASSERT_GE(o.y, 0.0f) << s;
    ASSERT_LE(o.x, 28.0f) << s;
    ASSERT_LE(o.y, 16.0f) << s;
    mostX = std::fmax(mostX, o.x);
    mostY = std::fmax(mostY, o.y);
  }
  // It does use the room it has.
  EXPECT_GT(mostX, 20.0f);
  EXPECT_GT(mostY, 10.0f);
}

TEST(OverlayDrift, MovesEveryMinuteAndStandsStillBetween) {
  int moved = 0;
  for (int minute = 1; minute <= 60; ++minute) {
    const double start = minute * 60.0;
    const OverlayOffset settled = OverlayDrift(start + 2.0, 3840, 2160);
    EXPECT_TRUE(Same(settled, OverlayDrift(start + 30.0, 3840, 2160))) << minute;
    EXPECT_TRUE(Same(settled, OverlayDrift(start + 59.9, 3840, 2160))) << minute;
    if (!Same(settled, OverlayDrift(start - 1.0, 3840, 2160))) ++moved;
  }
  EXPECT_GE(moved, 58);
}

TEST(OverlayDrift, GlidesOverTwoSecondsWithoutJumps) {
  for (int minute = 1; minute <= 30; ++minute) {
    const double start = minute * 60.0;
    const OverlayOffset before = OverlayDrift(start - 0.001, 1920, 1080);
    const OverlayOffset after = OverlayDrift(start + 2.0, 1920, 1080);
    // The glide starts where the last minute stood.
    const OverlayOffset first = OverlayDrift(start, 1920, 1080);
    EXPECT_NEAR(first.x, before.x, 1e-3) << minute;
    EXPECT_NEAR(first.y, before.y, 1e-3) << minute;
    // Frames at 60 per second: no step longer than a pixel, and each goes the glide's way.
    OverlayOffset last = first;
    for (int frame = 1; frame <= 120; ++frame) {
      const OverlayOffset now = OverlayDrift(start + frame / 60.0, 1920, 1080);
      ASSERT_LE(std::fabs(now.x - last.x), 1.0f) << minute << " " << frame;
      ASSERT_LE(std::fabs(now.y - last.y), 1.0f) << minute << " " << frame;
      ASSERT_GE((now.x - last.x) * (after.x - before.x), 0.0f);
      last = now;
    }
    EXPECT_NEAR(last.x, after.x, 1e-3) << minute;
    EXPECT_NEAR(last.y, after.y, 1e-3) << minute;
  }
}

TEST(OverlayClock, TwentyFourHourFallbackAndWhatTheFontCanDraw) {
  EXPECT_EQ(ClockLine(0, 0), "00:00");
  EXPECT_EQ(ClockLine(9, 5), "09:05");
  EXPECT_EQ(ClockLine(23, 59), "23:59");
  EXPECT_TRUE(DrawableByOverlayFont("9:05 PM"));
  EXPECT_FALSE(DrawableByOverlayFont(""));
  EXPECT_FALSE(DrawableByOverlayFont("\xE4\xB8\x8A\xE5\x8D\x88 9:05"));
  EXPECT_FALSE(DrawableByOverlayFont("9:05\t"));
}
