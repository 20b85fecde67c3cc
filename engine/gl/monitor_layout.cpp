#include "engine/gl/monitor_layout.h"

#include <algorithm>

namespace {

// `inner` as a viewport of a window covering `outer` (both in desktop
// coordinates): GL counts rows from the bottom.
GLViewportRect ViewportIn(const DesktopRect& outer, const DesktopRect& inner) {
  return GLViewportRect{inner.left - outer.left, outer.bottom - inner.bottom, inner.Width(), inner.Height()};
}

DesktopRect BoundingBox(const std::vector<MonitorArea>& monitors) {
  DesktopRect box = monitors.front().rect;
  for (const MonitorArea& m : monitors) {
    box.left = std::min(box.left, m.rect.left);
    box.top = std::min(box.top, m.rect.top);
    box.right = std::max(box.right, m.rect.right);
    box.bottom = std::max(box.bottom, m.rect.bottom);
  }
  return box;
}

bool SameRect(const GLViewportRect& a, const GLViewportRect& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

const MonitorArea& Primary(const std::vector<MonitorArea>& monitors) {
  const auto flagged = std::find_if(monitors.begin(), monitors.end(), [](const MonitorArea& m) { return m.primary; });
  return flagged != monitors.end() ? *flagged : monitors.front();
}

}  // namespace

MonitorLayout LayOutMonitors(const std::vector<MonitorArea>& monitors, MonitorSpan span) {
  MonitorLayout layout;
  layout.monitorCount = static_cast<int32_t>(monitors.size());
  layout.switchDisplayMode = monitors.size() < 2;
  if (monitors.empty()) return layout;

  layout.window = BoundingBox(monitors);
  const DesktopRect& primary = Primary(monitors).rect;
  layout.overlay = ViewportIn(layout.window, primary);
  if (span == MonitorSpan::PrimaryOnly) {
    // Everything else is cleared black first; the primary's picture then
    // covers any monitor that mirrors part of it.
    layout.field = layout.overlay;
    layout.fieldWidth = primary.Width();
    layout.fieldHeight = primary.Height();
  } else {
    layout.field = ViewportIn(layout.window, layout.window);
    layout.fieldWidth = layout.window.Width();
    layout.fieldHeight = layout.window.Height();
  }
  layout.blackOutsideField = layout.fieldWidth != layout.window.Width() || layout.fieldHeight != layout.window.Height();
  return layout;
}

bool RelayOutMonitors(const MonitorLayout& current, const std::vector<MonitorArea>& monitors, MonitorSpan span,
                      MonitorLayout& next) {
  if (monitors.empty()) return false;
  const MonitorLayout fresh = LayOutMonitors(monitors, span);
  const DesktopRect& a = fresh.window;
  const DesktopRect& b = current.window;
  const bool same = a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom &&
                    fresh.fieldWidth == current.fieldWidth && fresh.fieldHeight == current.fieldHeight &&
                    SameRect(fresh.field, current.field) && SameRect(fresh.overlay, current.overlay);
  if (same) return false;
  next = fresh;
  return true;
}
