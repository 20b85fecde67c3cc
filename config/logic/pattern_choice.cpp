#include "config/logic/pattern_choice.h"

#include <cstdio>

std::string PastedPatternFileName(std::string_view text, std::string_view extension) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : text) {
    hash ^= static_cast<uint8_t>(c);
    hash *= 0x100000001b3ull;
  }
  char digits[17] = {};
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
  return "pasted-" + std::string(digits) + "." + std::string(extension);
}

ScreenCells CellsOnScreen(int32_t width, int32_t height, int32_t cellSize) {
  if (cellSize < 1 || width < 0 || height < 0) return {};
  return {width / cellSize, height / cellSize};
}

bool PatternFitsScreen(int32_t patternWidth, int32_t patternHeight, ScreenCells screen) {
  return patternWidth <= screen.columns && patternHeight <= screen.rows;
}
