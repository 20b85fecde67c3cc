#include "life/overlay_text.h"

#include <cctype>
#include <cstring>
#include <cstdio>

bool FormatTakesOne(const std::string& format, char conversion) {
  int conversions = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    ++i;
    if (i < format.size() && format[i] == '%') continue;
    while (i < format.size() && std::strchr("-+ #0", format[i]) != nullptr) ++i;
    while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) ++i;
    if (i < format.size() && format[i] == '.') {
      ++i;
      while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) ++i;
    }
    if (i >= format.size() || format[i] != conversion) return false;
    ++conversions;
  }
  return conversions == 1;
}

StatisticsFormats CheckedStatisticsFormats(const std::array<std::string, 4>& loaded) {
  StatisticsFormats formats;
  if (FormatTakesOne(loaded[0], 'd')) formats.total = loaded[0];
  if (FormatTakesOne(loaded[1], 'f')) formats.averageAge = loaded[1];
  if (FormatTakesOne(loaded[2], 'd')) formats.generation = loaded[2];
  if (FormatTakesOne(loaded[3], 'u')) formats.averageTotal = loaded[3];
  return formats;
}

void CheckPatternFormats(StatisticsFormats& formats, const std::string& pattern, const std::string& noFamousPattern) {
  if (FormatTakesOne(pattern, 's')) formats.pattern = pattern;
  // Printed as a format too: '%' only as "%%".
  bool plain = !noFamousPattern.empty();
  for (size_t i = 0; i < noFamousPattern.size() && plain; ++i)
    if (noFamousPattern[i] == '%') plain = ++i < noFamousPattern.size() && noFamousPattern[i] == '%';
  if (plain) formats.noFamousPattern = noFamousPattern;
}

std::string PatternLine(const StatisticsFormats& formats, const std::string& name) {
  std::string shown;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c >= 0x20 && c < 0x7F) {
      shown += static_cast<char>(c);
    } else if ((c & 0xC0) != 0x80) {
      shown += '?';  // one for each character, not for each of its bytes
    }
  }
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, formats.pattern.c_str(), shown.c_str());
  return buffer;
}

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

std::string FrameRateLine(double frameTimeMs) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "FPS:%3.1f", 1000.0 / frameTimeMs);
  return buffer;
}
