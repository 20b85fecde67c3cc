#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "config/logic/trackbar_mapping.h"

TEST(TrackbarMapping, DieStepEndsAndLabelRule) {
  EXPECT_FLOAT_EQ(DieStepFromPosition(1), 0.001f);
  EXPECT_TRUE(DieStepIsZombie(DieStepFromPosition(100)));
  EXPECT_FALSE(DieStepIsZombie(DieStepFromPosition(99)));
  EXPECT_FALSE(DieStepIsZombie(0.9f));
  EXPECT_NEAR(DieStepFromPosition(50), std::log10(1.0f + 9.0f * 49.0f / 99.0f) * 0.999f + 0.001f, 1e-7);
}

TEST(TrackbarMapping, DieStepGridValuesMapBackToTheirOwnPosition) {
  for (int32_t p = kDieStepMinPos; p <= kDieStepMaxPos; ++p) {
    const float step = DieStepFromPosition(p);
    EXPECT_EQ(PositionFromDieStep(step), p) << p;
    // Opening the page again must not move the setting.
    EXPECT_EQ(DieStepFromPosition(PositionFromDieStep(step)), step) << p;
  }
}

TEST(TrackbarMapping, DieStepOffGridTruncatesAndOutOfRangeClamps) {
  // The stored default 0.9 lies between two grid positions.
  const int32_t p = PositionFromDieStep(0.9f);
  EXPECT_LE(DieStepFromPosition(p), 0.9f);
  EXPECT_GT(DieStepFromPosition(p + 1), 0.9f);
  EXPECT_EQ(PositionFromDieStep(-5.0f), kDieStepMinPos);
  EXPECT_EQ(PositionFromDieStep(7.0f), kDieStepMaxPos);
  EXPECT_EQ(PositionFromDieStep(std::numeric_limits<float>::infinity()), kDieStepMaxPos);
}

TEST(TrackbarMapping, SpeedPositionsAndMilliseconds) {
  struct Case { int32_t position; float ms; };
  for (const Case& c : {Case{50, 0.0f}, Case{10, 100.0f}, Case{1, 1000.0f}, Case{4, 250.0f}, Case{49, 1000.0f / 49}}) {
    EXPECT_FLOAT_EQ(LifeSpeedFromPosition(c.position), c.ms) << c.position;
  }
  for (int32_t p = kSpeedMinPos; p <= kSpeedMaxPos; ++p) EXPECT_EQ(PositionFromLifeSpeed(LifeSpeedFromPosition(p)), p) << p;
  EXPECT_EQ(PositionFromLifeSpeed(0.0f), 50);
  EXPECT_EQ(PositionFromLifeSpeed(5.0f), 50);     // faster than the scale: the top
  EXPECT_EQ(PositionFromLifeSpeed(5000.0f), 1);   // slower than the scale: the bottom
  EXPECT_EQ(PositionFromLifeSpeed(-3.0f), 1);
  EXPECT_EQ(PositionFromLifeSpeed(std::numeric_limits<float>::quiet_NaN()), 50);
}
