// Plain geometry of the gradient control: where the colour bar and the peg
// markers go for a client size, a style and the peg positions, and what a
// point hits. No Windows headers; the control window lays out with it before
// every paint and hit test.
#pragma once

#include <cstdint>
#include <vector>

#include "config/logic/dpi_scale.h"
#include "config/logic/picker_logic.h"

// Window style bits of the gradient control.
constexpr uint32_t GCS_VERTICAL = 0x01;
constexpr uint32_t GCS_HORIZONTAL = 0x02;
constexpr uint32_t GCS_ENDPEGS = 0x04;
constexpr uint32_t GCS_PEGS_BEFORE = 0x08;
constexpr uint32_t GCS_PEGS_AFTER = 0x10;

// Orientation values of the control.
constexpr int32_t kGradientVertical = 0;
constexpr int32_t kGradientHorizontal = 1;
constexpr int32_t kGradientAutomatic = 2;

// Marker sides (the direction in which the marker lies from the bar).
constexpr int32_t kMarkerAbove = 0;
constexpr int32_t kMarkerLeft = 1;
constexpr int32_t kMarkerBelow = 2;
constexpr int32_t kMarkerRight = 3;

// Measures at 96 DPI; the layout scales them by the control's DPI.
constexpr int32_t kMarkerStripHorizontal = 28;
constexpr int32_t kMarkerStripVertical = 24;
constexpr int32_t kStaggerStep = 6;

struct GradientMarker {
  int32_t pegIndex = -1;  // -3 start, -2 end, 0..n-1 inner
  int32_t side = kMarkerAbove;
  bool square = false;
  ScreenPoint anchor;     // apex of a triangle; centre of a square
  ScreenRect hitRect;     // bounding box (right and bottom exclusive)
  ScreenPoint corners[3]; // triangle only: apex, then the two base corners
  int32_t offset = 0;     // stagger away from the bar: 0, 6, 12 or 18 at 96 DPI
};

struct GradientLayout {
  ScreenRect client;
  ScreenRect bar;
  bool horizontal = true;
  std::vector<GradientMarker> markers;
};

int32_t OrientationFromStyle(uint32_t style);
bool IsHorizontal(int32_t orientation, int32_t clientWidth, int32_t clientHeight);
bool HasMarkers(uint32_t style);

// Lays out bar and markers for a window of `dpi`. `positions` are the inner
// pegs' positions in index order.
void LayOutGradient(const ScreenRect& client, bool horizontal, uint32_t style,
                    const std::vector<double>& positions, GradientLayout& layout, int32_t dpi = 96);

int32_t BarLength(const GradientLayout& layout);
// Pixel along the bar of a position: bar start + trunc(position * length).
int32_t PegPixel(const GradientLayout& layout, double position);
// Position of a point along the bar; not clamped (the model clamps).
double PositionAlongBar(const GradientLayout& layout, ScreenPoint point);

bool PointInTriangle(const ScreenPoint corners[3], ScreenPoint point);

struct GradientHit {
  enum Kind { None, Bar, Marker } kind = None;
  int32_t pegIndex = -1;
  double position = 0.0;
  const GradientMarker* marker = nullptr;
};
// A bar hit wins; among markers the selected peg's wins, else the first.
GradientHit HitTestGradient(const GradientLayout& layout, ScreenPoint point, int32_t selectedPeg);
