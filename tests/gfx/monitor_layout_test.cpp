// The full-screen layout over the desktop's monitors: window, mode switch,
// field size and the viewports, for the arrangements desks really have.
#include <gtest/gtest.h>

#include <vector>

#include "engine/gl/monitor_layout.h"

namespace {

MonitorArea Monitor(int32_t left, int32_t top, int32_t width, int32_t height, bool primary = false) {
  return MonitorArea{DesktopRect{left, top, left + width, top + height}, primary};
}

void ExpectViewport(const GLViewportRect& v, int32_t x, int32_t y, int32_t width, int32_t height) {
  EXPECT_EQ(v.x, x);
  EXPECT_EQ(v.y, y);
  EXPECT_EQ(v.width, width);
  EXPECT_EQ(v.height, height);
}

void ExpectWindow(const MonitorLayout& layout, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  EXPECT_EQ(layout.window.left, left);
  EXPECT_EQ(layout.window.top, top);
  EXPECT_EQ(layout.window.right, right);
  EXPECT_EQ(layout.window.bottom, bottom);
}

TEST(MonitorLayout, OneMonitorKeepsTheModeSwitchInBothModes) {
  for (MonitorSpan span : {MonitorSpan::AllMonitors, MonitorSpan::PrimaryOnly}) {
    const MonitorLayout layout = LayOutMonitors({Monitor(0, 0, 1280, 1024, true)}, span);
    EXPECT_TRUE(layout.switchDisplayMode);
    ExpectWindow(layout, 0, 0, 1280, 1024);
    EXPECT_EQ(layout.fieldWidth, 1280);
    EXPECT_EQ(layout.fieldHeight, 1024);
    ExpectViewport(layout.field, 0, 0, 1280, 1024);
    EXPECT_FALSE(layout.blackOutsideField);
  }
  // No list at all: the caller's single-screen placement stands.
  EXPECT_TRUE(LayOutMonitors({}, MonitorSpan::AllMonitors).switchDisplayMode);
}

TEST(MonitorLayout, SideBySideOfDifferentSizes) {
  const std::vector<MonitorArea> desk = {Monitor(0, 0, 1920, 1080, true), Monitor(1920, 0, 1280, 1024)};
  const MonitorLayout span = LayOutMonitors(desk, MonitorSpan::AllMonitors);
  EXPECT_FALSE(span.switchDisplayMode);
  EXPECT_EQ(span.monitorCount, 2);
  ExpectWindow(span, 0, 0, 3200, 1080);
  EXPECT_EQ(span.fieldWidth, 3200);
  EXPECT_EQ(span.fieldHeight, 1080);
  ExpectViewport(span.field, 0, 0, 3200, 1080);
  ExpectViewport(span.overlay, 0, 0, 1920, 1080);
  EXPECT_FALSE(span.blackOutsideField);

  const MonitorLayout primary = LayOutMonitors(desk, MonitorSpan::PrimaryOnly);
  EXPECT_FALSE(primary.switchDisplayMode);
  ExpectWindow(primary, 0, 0, 3200, 1080);
  EXPECT_EQ(primary.fieldWidth, 1920);
  EXPECT_EQ(primary.fieldHeight, 1080);
  ExpectViewport(primary.field, 0, 0, 1920, 1080);
  EXPECT_TRUE(primary.blackOutsideField);
}

TEST(MonitorLayout, MonitorLeftOfThePrimaryHasNegativeCoordinates) {
  // Listed first, as the system may list it; the flag decides.
  const std::vector<MonitorArea> desk = {Monitor(-1280, 56, 1280, 1024), Monitor(0, 0, 1920, 1080, true)};
  const MonitorLayout span = LayOutMonitors(desk, MonitorSpan::AllMonitors);
  ExpectWindow(span, -1280, 0, 1920, 1080);
  ExpectViewport(span.field, 0, 0, 3200, 1080);
  ExpectViewport(span.overlay, 1280, 0, 1920, 1080);

  const MonitorLayout primary = LayOutMonitors(desk, MonitorSpan::PrimaryOnly);
  ExpectWindow(primary, -1280, 0, 1920, 1080);
  EXPECT_EQ(primary.fieldWidth, 1920);
  ExpectViewport(primary.field, 1280, 0, 1920, 1080);
}

TEST(MonitorLayout, StackedMonitorsCountViewportRowsFromTheBottom) {
  // Above the primary: the primary is the lower part of the window.
  const MonitorLayout above =
      LayOutMonitors({Monitor(0, 0, 1920, 1080, true), Monitor(320, -1024, 1280, 1024)}, MonitorSpan::PrimaryOnly);
  ExpectWindow(above, 0, -1024, 1920, 1080);
  ExpectViewport(above.field, 0, 0, 1920, 1080);
  // Below the primary: the primary is the upper part.
  const MonitorLayout below =
      LayOutMonitors({Monitor(0, 0, 1920, 1080, true), Monitor(0, 1080, 1280, 1024)}, MonitorSpan::AllMonitors);
  ExpectWindow(below, 0, 0, 1920, 2104);
  EXPECT_EQ(below.fieldHeight, 2104);
  ExpectViewport(below.field, 0, 0, 1920, 2104);
  ExpectViewport(below.overlay, 0, 1024, 1920, 1080);
}

TEST(MonitorLayout, MirroredMonitorsShareTheirPixels) {
  // A smaller primary mirrored into the top-left of a larger monitor.
  const std::vector<MonitorArea> desk = {Monitor(0, 0, 800, 600, true), Monitor(0, 0, 1024, 768)};
  const MonitorLayout span = LayOutMonitors(desk, MonitorSpan::AllMonitors);
  EXPECT_FALSE(span.switchDisplayMode);
  ExpectWindow(span, 0, 0, 1024, 768);
  EXPECT_EQ(span.fieldWidth, 1024);
  const MonitorLayout primary = LayOutMonitors(desk, MonitorSpan::PrimaryOnly);
  ExpectViewport(primary.field, 0, 168, 800, 600);
  EXPECT_TRUE(primary.blackOutsideField);
  // Two identical clones: the primary's field is the whole window, nothing black.
  const MonitorLayout clones =
      LayOutMonitors({Monitor(0, 0, 1920, 1080), Monitor(0, 0, 1920, 1080, true)}, MonitorSpan::PrimaryOnly);
  EXPECT_FALSE(clones.switchDisplayMode);
  ExpectViewport(clones.field, 0, 0, 1920, 1080);
  EXPECT_FALSE(clones.blackOutsideField);
}

TEST(MonitorLayout, WithoutAPrimaryFlagTheFirstMonitorServes) {
  const MonitorLayout layout =
      LayOutMonitors({Monitor(1920, 0, 1280, 1024), Monitor(0, 0, 1920, 1080)}, MonitorSpan::PrimaryOnly);
  EXPECT_EQ(layout.fieldWidth, 1280);
  EXPECT_EQ(layout.fieldHeight, 1024);
  ExpectViewport(layout.field, 1920, 56, 1280, 1024);
}

TEST(MonitorLayout, RelayOutMovesOnlyWhatAChangeMoved) {
  const std::vector<MonitorArea> one = {Monitor(0, 0, 1024, 768, true)};
  const MonitorLayout switched = LayOutMonitors(one, MonitorSpan::AllMonitors);
  MonitorLayout next;
  next.monitorCount = -1;
  // Our own mode switch reports the monitor the window covers already; an
  // unreadable list keeps the window too.
  EXPECT_FALSE(RelayOutMonitors(switched, one, MonitorSpan::AllMonitors, next));
  EXPECT_FALSE(RelayOutMonitors(switched, {}, MonitorSpan::AllMonitors, next));
  EXPECT_EQ(next.monitorCount, -1);

  const std::vector<MonitorArea> two = {Monitor(0, 0, 1024, 768, true), Monitor(1024, 0, 1280, 1024)};
  ASSERT_TRUE(RelayOutMonitors(switched, two, MonitorSpan::AllMonitors, next));
  ExpectWindow(next, 0, 0, 2304, 1024);
  EXPECT_EQ(next.fieldWidth, 2304);
  EXPECT_FALSE(next.switchDisplayMode);
  // The primary's field keeps its size but the window must grow over the new monitor.
  ASSERT_TRUE(RelayOutMonitors(switched, two, MonitorSpan::PrimaryOnly, next));
  EXPECT_EQ(next.fieldWidth, 1024);
  ExpectWindow(next, 0, 0, 2304, 1024);
  // Same box, same field size, but the primary moved: so do the field and the overlays.
  const MonitorLayout before =
      LayOutMonitors({Monitor(0, 0, 800, 600, true), Monitor(800, 0, 800, 600)}, MonitorSpan::PrimaryOnly);
  ASSERT_TRUE(RelayOutMonitors(before, {Monitor(0, 0, 800, 600), Monitor(800, 0, 800, 600, true)},
                               MonitorSpan::PrimaryOnly, next));
  ExpectViewport(next.field, 800, 0, 800, 600);
  EXPECT_FALSE(RelayOutMonitors(next, {Monitor(800, 0, 800, 600, true), Monitor(0, 0, 800, 600)},
                                MonitorSpan::PrimaryOnly, next));
}

TEST(MonitorLayout, EachMonitorGetsAFieldOfItsOwnSizeThePrimaryFirst) {
  // Listed before the primary, left of it: the primary's field still comes first.
  const std::vector<MonitorArea> desk = {Monitor(-1280, 56, 1280, 1024), Monitor(0, 0, 1920, 1080, true)};
  const MonitorLayout each = LayOutMonitors(desk, MonitorSpan::EachMonitor);
  EXPECT_FALSE(each.switchDisplayMode);
  ExpectWindow(each, -1280, 0, 1920, 1080);
  ASSERT_EQ(each.fields.size(), 2u);
  ExpectViewport(each.fields[0], 1280, 0, 1920, 1080);
  ExpectViewport(each.fields[1], 0, 0, 1280, 1024);
  ExpectViewport(each.field, 1280, 0, 1920, 1080);
  EXPECT_EQ(each.fieldWidth, 1920);
  EXPECT_EQ(each.fieldHeight, 1080);
  ExpectViewport(each.overlay, 1280, 0, 1920, 1080);
  // The 56 rows above the smaller monitor belong to no monitor.
  EXPECT_TRUE(each.blackOutsideField);
  // Two equal monitors side by side tile the window: nothing black.
  const MonitorLayout tiled =
      LayOutMonitors({Monitor(0, 0, 800, 600, true), Monitor(800, 0, 800, 600)}, MonitorSpan::EachMonitor);
  ASSERT_EQ(tiled.fields.size(), 2u);
  ExpectViewport(tiled.fields[1], 800, 0, 800, 600);
  EXPECT_FALSE(tiled.blackOutsideField);
  // One monitor: the one field, and the display mode switched as ever.
  const MonitorLayout one = LayOutMonitors({Monitor(0, 0, 1280, 1024, true)}, MonitorSpan::EachMonitor);
  EXPECT_TRUE(one.switchDisplayMode);
  ASSERT_EQ(one.fields.size(), 1u);
  ExpectViewport(one.fields[0], 0, 0, 1280, 1024);
  // The other modes have their one field in the list too.
  EXPECT_EQ(LayOutMonitors(desk, MonitorSpan::AllMonitors).fields.size(), 1u);
  EXPECT_EQ(LayOutMonitors(desk, MonitorSpan::PrimaryOnly).fields.size(), 1u);
}

TEST(MonitorLayout, EachMonitorDrawsAPartlyCoveredMonitorBeneathAndACloneNotAtAll) {
  // The primary mirrored into the top-left of a larger monitor: that one keeps
  // a field of its own, seen right of and below the primary.
  const MonitorLayout mirrored =
      LayOutMonitors({Monitor(0, 0, 800, 600, true), Monitor(0, 0, 1024, 768)}, MonitorSpan::EachMonitor);
  ASSERT_EQ(mirrored.fields.size(), 2u);
  ExpectViewport(mirrored.fields[0], 0, 168, 800, 600);
  ExpectViewport(mirrored.fields[1], 0, 0, 1024, 768);
  EXPECT_FALSE(mirrored.blackOutsideField);
  // A clone of the primary, or a monitor inside it, would never be seen.
  for (const MonitorArea& hidden : {Monitor(0, 0, 1920, 1080), Monitor(100, 100, 800, 600)}) {
    const MonitorLayout layout = LayOutMonitors({hidden, Monitor(0, 0, 1920, 1080, true)}, MonitorSpan::EachMonitor);
    ASSERT_EQ(layout.fields.size(), 1u);
    ExpectViewport(layout.fields[0], 0, 0, 1920, 1080);
  }
  // Inside another monitor's field than the primary's counts the same.
  const MonitorLayout three = LayOutMonitors(
      {Monitor(0, 0, 800, 600, true), Monitor(800, 0, 1024, 768), Monitor(900, 0, 640, 480)}, MonitorSpan::EachMonitor);
  ASSERT_EQ(three.fields.size(), 2u);
  ExpectViewport(three.fields[1], 800, 0, 1024, 768);
}

TEST(MonitorLayout, RelayOutFollowsAnotherMonitorsFieldWhenOnlyThatMoved) {
  const std::vector<MonitorArea> before = {Monitor(0, 0, 800, 600, true), Monitor(800, 0, 800, 600)};
  const std::vector<MonitorArea> after = {Monitor(0, 0, 800, 600, true), Monitor(800, 0, 800, 500)};
  MonitorLayout next;
  // The same box and primary: only the second monitor's field tells them apart.
  EXPECT_FALSE(
      RelayOutMonitors(LayOutMonitors(before, MonitorSpan::PrimaryOnly), after, MonitorSpan::PrimaryOnly, next));
  ASSERT_TRUE(
      RelayOutMonitors(LayOutMonitors(before, MonitorSpan::EachMonitor), after, MonitorSpan::EachMonitor, next));
  ASSERT_EQ(next.fields.size(), 2u);
  ExpectViewport(next.fields[1], 800, 100, 800, 500);
}

}  // namespace
