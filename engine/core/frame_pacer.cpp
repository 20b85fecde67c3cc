#include "engine/core/frame_pacer.h"

double FramePeriodMs(int32_t refreshHz, bool preview) {
  int32_t rate = refreshHz > 1 ? refreshHz : kAssumedRefreshHz;
  if (preview && rate > kPreviewFrameRateCap) rate = kPreviewFrameRateCap;
  return 1000.0 / static_cast<double>(rate);
}
