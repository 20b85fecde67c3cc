#include "life/overlay_text.h"

#include <cstdio>

std::array<std::string, 4> StatisticsLines(const StatisticsFormats& formats, uint32_t population,
                                           float averageAge, uint32_t generation,
                                           uint32_t populationSum) {
  char buffer[128];
  std::array<std::string, 4> lines;
  std::snprintf(buffer, sizeof buffer, formats.total.c_str(), static_cast<int>(population));
  lines[0] = buffer;
  std::snprintf(buffer, sizeof buffer, formats.averageAge.c_str(), static_cast<double>(averageAge));
  lines[1] = buffer;
  std::snprintf(buffer, sizeof buffer, formats.generation.c_str(), static_cast<int>(generation));
  lines[2] = buffer;
  const double average = static_cast<double>(populationSum) / (static_cast<double>(generation) + 1.0);
  std::snprintf(buffer, sizeof buffer, formats.averageTotal.c_str(), static_cast<unsigned>(average));
  lines[3] = buffer;
  return lines;
}

std::string FrameRateLine(float frameTimeMs) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "FPS:%3.1f", 1000.0 / static_cast<double>(frameTimeMs));
  return buffer;
}
