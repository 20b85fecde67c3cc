#include "config/logic/trackbar_mapping.h"

#include <cmath>

namespace {
int32_t TruncateOnGrid(float value) { return static_cast<int32_t>(value + kGridSlack); }

int32_t Clamp(int32_t value, int32_t low, int32_t high) { return value < low ? low : value > high ? high : value; }
}  // namespace

float DieStepFromPosition(int32_t position) {
  const float p = static_cast<float>(position);
  return std::log10(1.0f + 9.0f * (p - 1.0f) / 99.0f) * 0.999f + 0.001f;
}

int32_t PositionFromDieStep(float dieStep) {
  const float raw = 1.0f + 99.0f * (std::pow(10.0f, (dieStep - 0.001f) / 0.999f) - 1.0f) / 9.0f;
  if (!std::isfinite(raw)) return raw > 0 ? kDieStepMaxPos : kDieStepMinPos;
  return Clamp(TruncateOnGrid(raw), kDieStepMinPos, kDieStepMaxPos);
}

bool DieStepIsZombie(float dieStep) { return std::fabs(dieStep - 1.0f) < 1e-7f; }

float LifeSpeedFromPosition(int32_t position) {
  if (position >= kSpeedMaxPos) return 0.0f;
  return 1000.0f / static_cast<float>(position);
}

int32_t PositionFromLifeSpeed(float lifeSpeed) {
  if (lifeSpeed == 0.0f) return kSpeedMaxPos;
  const float raw = 1000.0f / lifeSpeed;
  if (!std::isfinite(raw) || raw >= static_cast<float>(kSpeedMaxPos)) return kSpeedMaxPos;
  if (raw <= static_cast<float>(kSpeedMinPos)) return kSpeedMinPos;
  return Clamp(TruncateOnGrid(raw), kSpeedMinPos, kSpeedMaxPos);
}
