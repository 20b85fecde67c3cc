// Patterns as the Life community shares them: the live cells of a pattern
// (with their states where the format has states), what the file says about
// it, and the limits every reader checks before it allocates. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One live cell, relative to the top-left corner of the pattern's bounding
// box. `state` is 1 for a live cell; multi-state files give 1..255 (for the
// Generations rules, 2.. are the dying states).
struct PatternCell {
  int32_t x = 0;
  int32_t y = 0;
  uint8_t state = 1;
};

struct Pattern {
  int32_t width = 0;   // the bounding box of `cells`
  int32_t height = 0;
  std::vector<PatternCell> cells;
  std::string name;     // empty when the file names none
  std::string author;
  std::string rule;     // as written in the file ("B3/S23", "23/3", ...); empty for none
  std::vector<std::string> comments;
  // An RLE header whose "x = .., y = .." differ from the extent of the runs
  // (from the header's corner to the last live cell). The runs win; the
  // caller may log it.
  bool headerSizeDisagrees = false;
};

inline constexpr int32_t kMaxPatternSide = 16384;
inline constexpr size_t kMaxPatternCells = 16000000;
inline constexpr size_t kMaxPatternBytes = 16u * 1024u * 1024u;
