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

bool Inside(const DesktopRect& inner, const DesktopRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Whether `rects` together cover every pixel of `box`: each piece of the grid
// their edges cut the box into must lie inside one of them.
bool Covered(const DesktopRect& box, const std::vector<DesktopRect>& rects) {
  std::vector<int32_t> xs{box.left, box.right};
  std::vector<int32_t> ys{box.top, box.bottom};
  for (const DesktopRect& r : rects) {
    xs.push_back(std::clamp(r.left, box.left, box.right));
    xs.push_back(std::clamp(r.right, box.left, box.right));
    ys.push_back(std::clamp(r.top, box.top, box.bottom));
    ys.push_back(std::clamp(r.bottom, box.top, box.bottom));
  }
  std::sort(xs.begin(), xs.end());
  std::sort(ys.begin(), ys.end());
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    for (size_t j = 0; j + 1 < ys.size(); ++j) {
      const DesktopRect piece{xs[i], ys[j], xs[i + 1], ys[j + 1]};
      if (piece.Width() == 0 || piece.Height() == 0) continue;
      if (std::none_of(rects.begin(), rects.end(), [&](const DesktopRect& r) { return Inside(piece, r); })) {
        return false;
      }
    }
  }
  return true;
}

bool SameFields(const std::vector<GLViewportRect>& a, const std::vector<GLViewportRect>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameRect);
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
  const MonitorArea& primaryArea = Primary(monitors);
  const DesktopRect& primary = primaryArea.rect;
  layout.overlay = ViewportIn(layout.window, primary);
  // The fields' rectangles in desktop coordinates, the first one's on top.
  std::vector<DesktopRect> fields;
  if (span == MonitorSpan::AllMonitors) {
    fields.push_back(layout.window);
  } else {
    // Everything else is cleared black first; the primary's picture then
    // covers any monitor that mirrors part of it.
    fields.push_back(primary);
  }
  if (span == MonitorSpan::EachMonitor) {
    for (const MonitorArea& m : monitors) {
      if (&m == &primaryArea || m.rect.Width() <= 0 || m.rect.Height() <= 0) continue;
      const bool hidden =
          std::any_of(fields.begin(), fields.end(), [&m](const DesktopRect& r) { return Inside(m.rect, r); });
      if (!hidden) fields.push_back(m.rect);
    }
  }
  for (const DesktopRect& r : fields) layout.fields.push_back(ViewportIn(layout.window, r));
  layout.field = layout.fields.front();
  layout.fieldWidth = fields.front().Width();
  layout.fieldHeight = fields.front().Height();
  layout.blackOutsideField = !Covered(layout.window, fields);
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
                    SameRect(fresh.field, current.field) && SameRect(fresh.overlay, current.overlay) &&
                    SameFields(fresh.fields, current.fields);
  if (same) return false;
  next = fresh;
  return true;
}
