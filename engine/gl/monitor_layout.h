// Where a full-screen window goes when the desktop has several monitors, and
// where in it the Life field and the overlays are drawn. The monitors come in
// as plain rectangles, so any arrangement can be laid out without a display:
// side by side, stacked, left of or above the primary (negative desktop
// coordinates), of different sizes, mirrored. Portable.
#pragma once

#include <cstdint>
#include <vector>

// Desktop coordinates: origin at the primary monitor's top-left corner, y
// downwards; right and bottom are exclusive.
struct DesktopRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
};

struct MonitorArea {
  DesktopRect rect;
  bool primary = false;
};

// A glViewport rectangle: window pixels, origin at the bottom-left corner.
struct GLViewportRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// How the field uses several monitors (the saver's "Monitors" setting).
enum class MonitorSpan : int32_t {
  AllMonitors = 0,  // one field over the bounding box of every monitor
  PrimaryOnly = 1,  // a field the primary's size on the primary; black elsewhere
  EachMonitor = 2,  // every monitor a field of its own size (see LayOutMonitors)
};

struct MonitorLayout {
  int32_t monitorCount = 0;
  // The full-screen window: the bounding box of every monitor (the virtual
  // screen). Parts of it no monitor shows are simply never seen.
  DesktopRect window;
  // Only a single monitor may have its display mode switched: with several,
  // a new mode on one would move or cut the others.
  bool switchDisplayMode = true;
  // The field's size in pixels, and where it is drawn: with a field for
  // each monitor, the primary's.
  int32_t fieldWidth = 0;
  int32_t fieldHeight = 0;
  GLViewportRect field;
  // Every field's viewport, its size the field's size in pixels: `field`
  // first, then the other monitors' in the order they were listed. Drawn
  // from the last to the first, so that where they overlap the earlier one
  // (the primary's above all) is seen.
  std::vector<GLViewportRect> fields;
  // The statistics and frame-rate overlays: inside the primary monitor,
  // where the user looks first; the bounding box's bottom edge may lie
  // outside every monitor.
  GLViewportRect overlay;
  // True when the field leaves part of the window to be cleared black.
  bool blackOutsideField = false;
};

// The layout for `monitors` in `span` mode. The primary is the first monitor
// flagged so, or the first one when none is. EachMonitor gives the primary a
// field, then every other monitor one of its own unless its rectangle lies
// wholly inside one that has a field already (a clone would never be seen);
// a monitor only partly covered (mirroring part of the primary) keeps its
// field, drawn beneath, and shows it where nothing above covers it. With fewer than two monitors
// (none: the list could not be read) switchDisplayMode stays true and the
// caller keeps its single-screen placement; the rest then describes the one
// monitor, if any.
MonitorLayout LayOutMonitors(const std::vector<MonitorArea>& monitors, MonitorSpan span);

// A running full-screen window after the desktop's monitors changed
// (WM_DISPLAYCHANGE): true with `next`, LayOutMonitors for `monitors`, when
// it places the window, field or overlays elsewhere than `current`. False
// when nothing moves, which is what our own display-mode switch reports (its
// one monitor at the mode that `current` already covers), and when the
// monitors cannot be listed: the window then stays as it is.
bool RelayOutMonitors(const MonitorLayout& current, const std::vector<MonitorArea>& monitors, MonitorSpan span,
                      MonitorLayout& next);

// The monitors of the desktop (Win32 build: monitor_list_win32.cpp); empty
// when they cannot be listed.
std::vector<MonitorArea> DesktopMonitors();

// Where DesktopMonitors reads them: the system, or a list of the tests' own
// while one is set (null gives the system back). A monitor cannot be plugged
// in under the test display, so tests hand the running window a new list.
using MonitorSource = std::vector<MonitorArea> (*)();
void SetMonitorSource(MonitorSource source);
