#include "engine/gfx/video_frame_rate.h"

double AverageFrameRate(int32_t frames, float intervalMs) {
  if (!(intervalMs > 0.0f)) return 0.0;
  return static_cast<double>(frames) / static_cast<double>(intervalMs) * 1000.0;
}
