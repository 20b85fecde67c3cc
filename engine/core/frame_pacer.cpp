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
