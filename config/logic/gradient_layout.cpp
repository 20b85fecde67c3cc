#include "config/logic/gradient_layout.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int32_t kAnchorInset = 22;   // anchor distance from the outer client edge
constexpr int32_t kTriangleDepth = 9;
constexpr int32_t kTriangleHalfBase = 5;
constexpr int32_t kSquareAlong = 9;    // end squares: 9 along the bar, 11 across
constexpr int32_t kSquareAcross = 11;
constexpr int32_t kSquareGap = 2;      // between a square and the bar
constexpr int32_t kCloseMarkers = 10;
constexpr int32_t kMostStaggerSteps = 3;

// The measures above at one DPI.
struct Metrics {
  explicit Metrics(int32_t dpi)
      : stripHorizontal(ScaleToDpi(kMarkerStripHorizontal, dpi)),
        stripVertical(ScaleToDpi(kMarkerStripVertical, dpi)),
        staggerStep(ScaleToDpi(kStaggerStep, dpi)),
        anchorInset(ScaleToDpi(kAnchorInset, dpi)),
        triangleDepth(ScaleToDpi(kTriangleDepth, dpi)),
        triangleHalfBase(ScaleToDpi(kTriangleHalfBase, dpi)),
        squareAlong(ScaleToDpi(kSquareAlong, dpi)),
        squareAcross(ScaleToDpi(kSquareAcross, dpi)),
        squareGap(ScaleToDpi(kSquareGap, dpi)),
        closeMarkers(ScaleToDpi(kCloseMarkers, dpi)) {}
  int32_t stripHorizontal, stripVertical, staggerStep, anchorInset, triangleDepth, triangleHalfBase, squareAlong,
      squareAcross, squareGap, closeMarkers;
};

bool Contains(const ScreenRect& r, ScreenPoint p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

GradientMarker Triangle(const Metrics& k, int32_t peg, int32_t side, ScreenPoint apex, int32_t offset) {
  const int32_t depth = k.triangleDepth, half = k.triangleHalfBase;
  GradientMarker m;
  m.pegIndex = peg;
  m.side = side;
  m.anchor = apex;
  m.offset = offset;
  m.corners[0] = apex;
  switch (side) {
    case kMarkerAbove:
      m.corners[1] = {apex.x - half, apex.y - depth};
      m.corners[2] = {apex.x + half, apex.y - depth};
      break;
    case kMarkerBelow:
      m.corners[1] = {apex.x - half, apex.y + depth};
      m.corners[2] = {apex.x + half, apex.y + depth};
      break;
    case kMarkerLeft:
      m.corners[1] = {apex.x - depth, apex.y - half};
      m.corners[2] = {apex.x - depth, apex.y + half};
      break;
    default:
      m.corners[1] = {apex.x + depth, apex.y - half};
      m.corners[2] = {apex.x + depth, apex.y + half};
      break;
  }
  int32_t minX = std::min({m.corners[0].x, m.corners[1].x, m.corners[2].x});
  int32_t maxX = std::max({m.corners[0].x, m.corners[1].x, m.corners[2].x});
  int32_t minY = std::min({m.corners[0].y, m.corners[1].y, m.corners[2].y});
  int32_t maxY = std::max({m.corners[0].y, m.corners[1].y, m.corners[2].y});
  m.hitRect = {minX, minY, maxX + 1, maxY + 1};
  return m;
}

// The start and end squares of one strip, next to the bar at its two ends.
void AddEndSquares(const Metrics& k, GradientLayout& layout, int32_t side) {
  const int32_t along = k.squareAlong, across = k.squareAcross, gap = k.squareGap;
  const ScreenRect& bar = layout.bar;
  for (int32_t peg : {-3, -2}) {
    GradientMarker m;
    m.pegIndex = peg;
    m.side = side;
    m.square = true;
    ScreenRect r;
    if (layout.horizontal) {
      r.left = peg == -3 ? bar.left : bar.right - along;
      r.right = r.left + along;
      r.bottom = side == kMarkerAbove ? bar.top - gap : bar.bottom + gap + across;
      r.top = r.bottom - across;
    } else {
      r.top = peg == -3 ? bar.top : bar.bottom - along;
      r.bottom = r.top + along;
      r.right = side == kMarkerLeft ? bar.left - gap : bar.right + gap + across;
      r.left = r.right - across;
    }
    m.hitRect = r;
    m.anchor = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    layout.markers.push_back(m);
  }
}
}  // namespace

int32_t OrientationFromStyle(uint32_t style) {
  if (style & GCS_VERTICAL) return kGradientVertical;
  if (style & GCS_HORIZONTAL) return kGradientHorizontal;
  return kGradientAutomatic;
}

bool IsHorizontal(int32_t orientation, int32_t clientWidth, int32_t clientHeight) {
  if (orientation == kGradientVertical) return false;
  if (orientation == kGradientHorizontal) return true;
  return clientWidth >= clientHeight;
}

bool HasMarkers(uint32_t style) { return (style & (GCS_PEGS_BEFORE | GCS_PEGS_AFTER)) != 0; }

int32_t BarLength(const GradientLayout& layout) {
  const ScreenRect& b = layout.bar;
  return std::max(0, layout.horizontal ? b.right - b.left : b.bottom - b.top);
}

int32_t PegPixel(const GradientLayout& layout, double position) {
  int32_t start = layout.horizontal ? layout.bar.left : layout.bar.top;
  return start + static_cast<int32_t>(position * BarLength(layout));
}

double PositionAlongBar(const GradientLayout& layout, ScreenPoint point) {
  int32_t length = BarLength(layout);
  if (length <= 0) return 0.0;
  int32_t along = layout.horizontal ? point.x - layout.bar.left : point.y - layout.bar.top;
  return static_cast<double>(along) / length;
}

void LayOutGradient(const ScreenRect& client, bool horizontal, uint32_t style,
                    const std::vector<double>& positions, GradientLayout& layout, int32_t dpi) {
  const Metrics k(dpi);
  layout.client = client;
  layout.bar = client;
  layout.horizontal = horizontal;
  layout.markers.clear();
  if (!HasMarkers(style)) return;

  const bool before = (style & GCS_PEGS_BEFORE) != 0;
  const bool after = (style & GCS_PEGS_AFTER) != 0;
  const int32_t strip = horizontal ? k.stripHorizontal : k.stripVertical;
  if (horizontal) {
    if (before) layout.bar.top += strip;
    if (after) layout.bar.bottom -= strip;
  } else {
    if (before) layout.bar.left += strip;
    if (after) layout.bar.right -= strip;
  }
  const int32_t beforeSide = horizontal ? kMarkerAbove : kMarkerLeft;
  const int32_t afterSide = horizontal ? kMarkerBelow : kMarkerRight;

  if (style & GCS_ENDPEGS) {
    if (before) AddEndSquares(k, layout, beforeSide);
    if (after) AddEndSquares(k, layout, afterSide);
  }

  const int32_t count = static_cast<int32_t>(positions.size());
  std::vector<int32_t> pixels(positions.size());
  for (int32_t i = 0; i < count; ++i) pixels[i] = PegPixel(layout, positions[i]);
  const int32_t outerBefore = horizontal ? client.top : client.left;
  const int32_t outerAfter = horizontal ? client.bottom : client.right;

  for (int32_t i = 0; i < count; ++i) {
    // Pegs crowded by later ones step away from the bar, at most three steps.
    int32_t steps = 0;
    for (int32_t j = count - 1; j > i && steps < kMostStaggerSteps; --j)
      if (std::abs(pixels[j] - pixels[i]) <= k.closeMarkers) ++steps;
    const int32_t offset = steps * k.staggerStep;
    if (before) {
      int32_t across = outerBefore + k.anchorInset - offset;
      ScreenPoint apex = horizontal ? ScreenPoint{pixels[i], across} : ScreenPoint{across, pixels[i]};
      layout.markers.push_back(Triangle(k, i, beforeSide, apex, offset));
    }
    if (after) {
      int32_t across = offset + (outerAfter - k.anchorInset);
      ScreenPoint apex = horizontal ? ScreenPoint{pixels[i], across} : ScreenPoint{across, pixels[i]};
      layout.markers.push_back(Triangle(k, i, afterSide, apex, offset));
    }
  }
}

bool PointInTriangle(const ScreenPoint c[3], ScreenPoint p) {
  auto edge = [](ScreenPoint a, ScreenPoint b, ScreenPoint q) {
    return static_cast<int64_t>(b.x - a.x) * (q.y - a.y) - static_cast<int64_t>(b.y - a.y) * (q.x - a.x);
  };
  int64_t d0 = edge(c[0], c[1], p), d1 = edge(c[1], c[2], p), d2 = edge(c[2], c[0], p);
  bool hasNegative = d0 < 0 || d1 < 0 || d2 < 0;
  bool hasPositive = d0 > 0 || d1 > 0 || d2 > 0;
  return !(hasNegative && hasPositive);  // edges count as inside
}

GradientHit HitTestGradient(const GradientLayout& layout, ScreenPoint point, int32_t selectedPeg) {
  GradientHit hit;
  if (Contains(layout.bar, point)) {
    hit.kind = GradientHit::Bar;
    hit.position = PositionAlongBar(layout, point);
    return hit;
  }
  for (const GradientMarker& m : layout.markers) {
    if (!Contains(m.hitRect, point)) continue;
    if (!m.square && !PointInTriangle(m.corners, point)) continue;
    if (hit.kind == GradientHit::None || m.pegIndex == selectedPeg) {
      bool wasSelected = hit.kind == GradientHit::Marker && hit.pegIndex == selectedPeg;
      if (!wasSelected) {
        hit.kind = GradientHit::Marker;
        hit.pegIndex = m.pegIndex;
        hit.marker = &m;
      }
    }
  }
  return hit;
}
