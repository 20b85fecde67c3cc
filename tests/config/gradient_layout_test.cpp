#include "config/logic/gradient_layout.h"

#include <gtest/gtest.h>

namespace {
const ScreenRect kWide{0, 0, 300, 80};

TEST(GradientOrientation, AutomaticFollowsTheClientShape) {
  EXPECT_EQ(OrientationFromStyle(0), kGradientAutomatic);
  EXPECT_EQ(OrientationFromStyle(GCS_VERTICAL | GCS_PEGS_AFTER), kGradientVertical);
  EXPECT_EQ(OrientationFromStyle(GCS_HORIZONTAL), kGradientHorizontal);
  EXPECT_TRUE(IsHorizontal(kGradientAutomatic, 300, 40));
  EXPECT_FALSE(IsHorizontal(kGradientAutomatic, 40, 300));
  EXPECT_TRUE(IsHorizontal(kGradientAutomatic, 50, 50));
  EXPECT_FALSE(IsHorizontal(kGradientVertical, 300, 40));
  EXPECT_TRUE(IsHorizontal(kGradientHorizontal, 40, 300));
}

TEST(GradientLayoutBar, WithoutMarkerStylesTheBarIsTheWholeClient) {
  GradientLayout layout;
  LayOutGradient(kWide, true, GCS_ENDPEGS, {0.5}, layout);
  EXPECT_EQ(layout.bar.top, 0);
  EXPECT_EQ(layout.bar.bottom, 80);
  EXPECT_TRUE(layout.markers.empty());
}

TEST(GradientLayoutBar, MarkerStripsShrinkTheBar) {
  GradientLayout layout;
  LayOutGradient(kWide, true, GCS_PEGS_BEFORE | GCS_PEGS_AFTER, {}, layout);
  EXPECT_EQ(layout.bar.top, 28);
  EXPECT_EQ(layout.bar.bottom, 52);
  LayOutGradient(ScreenRect{0, 0, 80, 300}, false, GCS_PEGS_BEFORE | GCS_PEGS_AFTER, {}, layout);
  EXPECT_EQ(layout.bar.left, 24);
  EXPECT_EQ(layout.bar.right, 56);
  EXPECT_EQ(layout.bar.top, 0);
}

TEST(GradientLayoutMarkers, CrowdedPegsAreStaggered) {
  GradientLayout layout;
  // 300-pixel bar: pixels 150, 153, 156, 159, then one far away.
  LayOutGradient(kWide, true, GCS_PEGS_AFTER, {0.5, 0.51, 0.52, 0.53, 0.9}, layout);
  ASSERT_EQ(layout.markers.size(), 5u);
  const int expected[] = {18, 12, 6, 0, 0};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(layout.markers[i].pegIndex, i);
    EXPECT_EQ(layout.markers[i].offset, expected[i]) << i;
    EXPECT_EQ(layout.markers[i].side, kMarkerBelow);
    // After side: anchor at offset + (client end - 22).
    EXPECT_EQ(layout.markers[i].anchor.y, expected[i] + 80 - 22);
  }
  EXPECT_EQ(layout.markers[0].anchor.x, 150);
  EXPECT_EQ(layout.markers[4].anchor.x, 270);
}

TEST(GradientLayoutMarkers, BeforeSideAnchorsCountFromTheOuterEdge) {
  GradientLayout layout;
  LayOutGradient(kWide, true, GCS_PEGS_BEFORE, {0.25, 0.26}, layout);
  ASSERT_EQ(layout.markers.size(), 2u);
  EXPECT_EQ(layout.markers[0].side, kMarkerAbove);
  EXPECT_EQ(layout.markers[0].anchor.y, 22 - 6);
  EXPECT_EQ(layout.markers[1].anchor.y, 22);
  // Apex at the anchor, base 9 pixels further from the bar, 10 wide.
  EXPECT_EQ(layout.markers[1].corners[1].y, 13);
  EXPECT_EQ(layout.markers[1].corners[2].x - layout.markers[1].corners[1].x, 10);
}

TEST(GradientLayoutMarkers, VerticalMarkersPointAtTheBarFromBothSides) {
  GradientLayout layout;
  LayOutGradient(ScreenRect{0, 0, 80, 300}, false, GCS_PEGS_BEFORE | GCS_PEGS_AFTER, {0.0, 1.0}, layout);
  ASSERT_EQ(layout.markers.size(), 4u);
  EXPECT_EQ(layout.markers[0].side, kMarkerLeft);
  EXPECT_EQ(layout.markers[0].anchor.x, 22);
  EXPECT_EQ(layout.markers[0].anchor.y, 0);
  EXPECT_EQ(layout.markers[0].corners[1].x, 13);
  EXPECT_EQ(layout.markers[1].side, kMarkerRight);
  EXPECT_EQ(layout.markers[1].anchor.x, 80 - 22);
  EXPECT_EQ(layout.markers[1].corners[1].x, 80 - 22 + 9);
  EXPECT_EQ(layout.markers[3].anchor.y, 300);
}

TEST(GradientLayoutMarkers, EndSquaresSitAtBothEndsOfEachStrip) {
  GradientLayout layout;
  LayOutGradient(kWide, true, GCS_ENDPEGS | GCS_PEGS_BEFORE | GCS_PEGS_AFTER, {}, layout);
  ASSERT_EQ(layout.markers.size(), 4u);
  for (const GradientMarker& m : layout.markers) {
    EXPECT_TRUE(m.square);
    EXPECT_EQ(m.hitRect.right - m.hitRect.left, 9);
    EXPECT_EQ(m.hitRect.bottom - m.hitRect.top, 11);
    bool outsideBar = m.hitRect.bottom <= layout.bar.top || m.hitRect.top >= layout.bar.bottom;
    EXPECT_TRUE(outsideBar);
  }
  EXPECT_EQ(layout.markers[0].pegIndex, -3);
  EXPECT_EQ(layout.markers[0].hitRect.left, 0);
  EXPECT_EQ(layout.markers[1].pegIndex, -2);
  EXPECT_EQ(layout.markers[1].hitRect.right, 300);
}

TEST(GradientHitTest, BarTrianglesAndSelectionPriority) {
  GradientLayout layout;
  LayOutGradient(kWide, true, GCS_PEGS_AFTER, {0.5, 0.51}, layout);
  GradientHit bar = HitTestGradient(layout, {75, 10}, -1);
  EXPECT_EQ(bar.kind, GradientHit::Bar);
  EXPECT_DOUBLE_EQ(bar.position, 0.25);

  // Peg 0 is staggered 6 down: apex (150, 64), base y 73. Peg 1: apex (153, 58).
  GradientHit apex = HitTestGradient(layout, {150, 64}, -1);
  EXPECT_EQ(apex.kind, GradientHit::Marker);
  EXPECT_EQ(apex.pegIndex, 0);
  // The bounding box's corner is outside the exact triangle.
  EXPECT_EQ(HitTestGradient(layout, {145, 65}, -1).kind, GradientHit::None);
  // A point in both triangles: the first found, unless the other is selected.
  GradientHit overlap = HitTestGradient(layout, {151, 67}, -1);
  EXPECT_EQ(overlap.pegIndex, 0);
  EXPECT_EQ(HitTestGradient(layout, {151, 67}, 1).pegIndex, 1);
  EXPECT_EQ(HitTestGradient(layout, {10, 75}, -1).kind, GradientHit::None);
}

TEST(GradientHitTest, PositionAlongAVerticalBarStartsAtTheTop) {
  GradientLayout layout;
  LayOutGradient(ScreenRect{0, 0, 40, 300}, false, 0, {}, layout);
  EXPECT_DOUBLE_EQ(HitTestGradient(layout, {20, 0}, -1).position, 0.0);
  EXPECT_DOUBLE_EQ(HitTestGradient(layout, {20, 150}, -1).position, 0.5);
  EXPECT_EQ(PegPixel(layout, 0.5), 150);
}

TEST(DpiScale, RoundsToTheNearestPixelLikeMulDiv) {
  EXPECT_EQ(ScaleToDpi(320, 96), 320);
  EXPECT_EQ(ScaleToDpi(320, 144), 480);
  EXPECT_EQ(ScaleToDpi(320, 192), 640);
  EXPECT_EQ(ScaleToDpi(5, 144), 8);  // 7.5
  EXPECT_EQ(ScaleToDpi(3, 120), 4);  // 3.75
  EXPECT_EQ(ScaleToDpi(-5, 144), -8);
  EXPECT_EQ(ScaleToDpi(18, 0), 18);
}

// Every measure of the strips, triangles, squares and staggering at 96, 144
// and 192 DPI (144: halves round up).
struct DpiCase {
  int32_t dpi, strip, depth, halfBase, squareAlong, squareAcross, step, inset;
};
class GradientLayoutDpi : public ::testing::TestWithParam<DpiCase> {};

TEST_P(GradientLayoutDpi, MeasuresScaleWithTheDpi) {
  const DpiCase c = GetParam();
  GradientLayout layout;
  // Pixels 300 and 306 of a 600-pixel bar: crowded at every DPI.
  LayOutGradient(ScreenRect{0, 0, 600, 200}, true, GCS_ENDPEGS | GCS_PEGS_BEFORE | GCS_PEGS_AFTER, {0.5, 0.51},
                 layout, c.dpi);
  EXPECT_EQ(layout.bar.top, c.strip);
  EXPECT_EQ(layout.bar.bottom, 200 - c.strip);
  ASSERT_EQ(layout.markers.size(), 8u);
  for (int i = 0; i < 4; ++i) {
    const GradientMarker& square = layout.markers[i];
    ASSERT_TRUE(square.square);
    EXPECT_EQ(square.hitRect.right - square.hitRect.left, c.squareAlong);
    EXPECT_EQ(square.hitRect.bottom - square.hitRect.top, c.squareAcross);
  }
  const GradientMarker& crowded = layout.markers[5];  // peg 0, after side
  const GradientMarker& free = layout.markers[7];     // peg 1, after side
  ASSERT_EQ(crowded.pegIndex, 0);
  ASSERT_EQ(free.pegIndex, 1);
  EXPECT_EQ(crowded.offset, c.step);
  EXPECT_EQ(free.offset, 0);
  EXPECT_EQ(free.anchor.y, 200 - c.inset);
  EXPECT_EQ(free.corners[1].y - free.anchor.y, c.depth);
  EXPECT_EQ(free.corners[2].x - free.corners[1].x, 2 * c.halfBase);
  EXPECT_EQ(layout.markers[4].anchor.y, c.inset - c.step);  // peg 0, before side
}

INSTANTIATE_TEST_SUITE_P(Dpi, GradientLayoutDpi,
                         ::testing::Values(DpiCase{96, 28, 9, 5, 9, 11, 6, 22},
                                           DpiCase{144, 42, 14, 8, 14, 17, 9, 33},
                                           DpiCase{192, 56, 18, 10, 18, 22, 12, 44}));

TEST(GradientLayoutDpi, FourCrowdedPegsStillStopAtThreeSteps) {
  GradientLayout layout;
  LayOutGradient(ScreenRect{0, 0, 600, 200}, true, GCS_PEGS_AFTER, {0.40, 0.41, 0.42, 0.43}, layout, 192);
  ASSERT_EQ(layout.markers.size(), 4u);
  EXPECT_EQ(layout.markers[0].offset, 36);
  EXPECT_EQ(layout.markers[1].offset, 24);
  EXPECT_EQ(layout.markers[3].offset, 0);
}

TEST(GradientHitTest, EmptyBarGivesPositionZero) {
  GradientLayout layout;
  LayOutGradient(ScreenRect{0, 0, 0, 0}, true, 0, {}, layout);
  EXPECT_EQ(BarLength(layout), 0);
  EXPECT_DOUBLE_EQ(PositionAlongBar(layout, {5, 5}), 0.0);
}
}  // namespace
