// Feeds arbitrary text to one pattern reader (PATTERN_FUZZ_READER, set by the
// build for each target): a refusal must leave the pattern alone and point
// inside the text; a pattern read must sit in its box, normalised, within the
// limits, each cell once in row order.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "life/pattern/pattern_reader.h"

namespace {

// Does (line, column) name a place in the text: a character or the end of a line?
bool InsideText(std::string_view text, size_t line, size_t column) {
  if (line == 0 || column == 0) return false;
  size_t start = 0;
  for (size_t l = 1; l < line; ++l) {
    const size_t newline = text.find('\n', start);
    if (newline == std::string_view::npos) return false;
    start = newline + 1;
  }
  const size_t newline = text.find('\n', start);
  const size_t length = (newline == std::string_view::npos ? text.size() : newline) - start;
  return column <= length + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Pattern pattern;
  pattern.name = "untouched";
  pattern.cells.push_back(PatternCell{-1, -1, 0});
  PatternReadError error;
  if (!PATTERN_FUZZ_READER(text, pattern, error)) {
    if (error.reason == PatternError::kNone || !InsideText(text, error.line, error.column)) __builtin_trap();
    if (pattern.name != "untouched" || pattern.cells.size() != 1 || pattern.cells[0].x != -1 || pattern.width != 0)
      __builtin_trap();
    return 0;
  }
  if (error.reason != PatternError::kNone || pattern.cells.empty() || pattern.cells.size() > kMaxPatternCells)
    __builtin_trap();
  if (pattern.width < 1 || pattern.width > kMaxPatternSide || pattern.height < 1 || pattern.height > kMaxPatternSide)
    __builtin_trap();
  int32_t minX = pattern.width, maxX = -1;
  const PatternCell* previous = nullptr;
  for (const PatternCell& cell : pattern.cells) {
    if (cell.x < 0 || cell.x >= pattern.width || cell.y < 0 || cell.y >= pattern.height || cell.state == 0)
      __builtin_trap();
    if (previous && (cell.y < previous->y || (cell.y == previous->y && cell.x <= previous->x))) __builtin_trap();
    minX = cell.x < minX ? cell.x : minX;
    maxX = cell.x > maxX ? cell.x : maxX;
    previous = &cell;
  }
  if (minX != 0 || maxX != pattern.width - 1 || pattern.cells.front().y != 0 ||
      pattern.cells.back().y != pattern.height - 1)
    __builtin_trap();
  return 0;
}
