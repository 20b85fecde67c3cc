#include "engine/core/frame_pacer.h"

#include <cmath>

double RefreshHz(int32_t reportedHz, double compositorHz) {
  if (reportedHz <= 1) return compositorHz > 1.0 ? compositorHz : kAssumedRefreshHz;
  // Some drivers round instead of truncating: 59.94 may also report 60.
  if (compositorHz > 1.0 && std::fabs(compositorHz - reportedHz) < 1.0) return compositorHz;
  return reportedHz;
}

double FramePeriodMs(int32_t refreshHz, bool preview) { return FramePeriodMs(refreshHz, 0.0, preview, false); }

double FramePeriodMs(int32_t reportedHz, double compositorHz, bool preview, bool verticalSync) {
  double rate = RefreshHz(reportedHz, compositorHz);
  if (verticalSync) rate += 1.0;
  if (preview && rate > kPreviewFrameRateCap) rate = kPreviewFrameRateCap;
  return 1000.0 / rate;
}

int32_t RefreshesPerFrame(double framePeriodMs, double displayPeriodMs) {
  if (!(framePeriodMs > 0.0) || !(displayPeriodMs > 0.0)) return 1;
  // Rounded down, so that a preview never runs ahead of full screen (a 75 Hz
  // display: two, not three); the margin keeps 2 for 30 frames a second on a
  // 59.94 Hz display and on one that reports 59.
  const double frames = std::floor(framePeriodMs / displayPeriodMs + 0.05);
  return frames > 1.0 ? static_cast<int32_t>(frames) : 1;
}

int32_t DueGenerations(double& timer, double frameTimeMs, double periodMs, int32_t limit) {
  timer += frameTimeMs;
  int32_t due = 0;
  while (due < limit && timer >= periodMs) {
    timer -= periodMs;
    ++due;
  }
  if (timer > periodMs) timer = periodMs;
  return due;
}

double GenerationProgress(double timer, double frameTimeMs, double periodMs) {
  if (!(periodMs > 0.0) || periodMs < frameTimeMs) return 1.0;
  const double progress = timer / periodMs;
  return progress > 0.0 ? (progress < 1.0 ? progress : 1.0) : 0.0;
}
