#include "engine/gl/video_frame_rate.h"

double AverageFrameRate(int32_t frames, double intervalMs) {
  if (!(intervalMs > 0.0)) return 0.0;
  return static_cast<double>(frames) / intervalMs * 1000.0;
}
