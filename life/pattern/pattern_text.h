// What the pattern readers share: the text cut into lines that know their
// number and where they start (so that errors point at a line and a column),
// and the cells gathered under the limits before they become a Pattern.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "life/pattern/pattern_reader.h"

namespace pattern_text {

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A byte-order mark is what Windows editors put ahead of UTF-8: skipped, and
// columns count from the character after it.
size_t TextStart(std::string_view text);

std::string_view Trim(std::string_view s);

struct Line {
  std::string_view text;  // without its '\n'
  size_t number = 0;      // from 1
  size_t begin = 0;       // offset of its first byte in the whole text
};

class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text), at_(TextStart(text)) {}
  Lines(std::string_view text, size_t at, size_t number) : text_(text), at_(at), number_(number - 1) {}
  bool Next(Line& line);
  size_t Offset() const { return at_; }  // where the line after the last one starts

 private:
  std::string_view text_;
  size_t at_ = 0;
  size_t number_ = 0;
};

inline bool Fail(PatternReadError& error, size_t line, size_t column, PatternError reason) {
  error = PatternReadError{line, column, reason};
  return false;
}

// A signed decimal with an optional sign; false when there are no digits or
// more than 15 of them (beyond any box the limits let through). `at` moves
// past what was read.
bool ReadInteger(std::string_view s, size_t& at, int64_t& value);

// The live cells as they are read, kept under the limits. Every reader reads
// twice: first with a counting collector, which checks each run against the
// limits (the bounding box within kMaxPatternSide, the count within
// kMaxPatternCells) and keeps nothing, then, when all of it passed, with the
// collector made ready for exactly that many cells. Nothing is allocated for
// a text the limits refuse, and nothing grows while filling. Coordinates
// arrive as 64-bit numbers anywhere; they are kept relative to the first
// cell, which the box check keeps within 32 bits.
class CellCollector {
 public:
  // A horizontal run of `count` cells from (x, y). kNone when taken.
  PatternError AddRun(int64_t x, int64_t y, int64_t count, uint8_t state);
  // After the counting pass: the next pass keeps the cells.
  void StartFilling();
  bool Empty() const { return count_ == 0; }
  int64_t MaxX() const { return maxX_; }
  int64_t MaxY() const { return maxY_; }
  // Moves the cells into `pattern`, shifted so that the smallest x and y are
  // 0. Readers whose cells arrive row by row, left to right, once each, need
  // no sorting; the others ask for it, and repeated cells go (by a sort on
  // (y, x): n log n, in place). The readers that sort have one state only.
  void MoveInto(Pattern& pattern, bool sortAndDropRepeats);

 private:
  bool filling_ = false;
  size_t count_ = 0;
  std::vector<PatternCell> cells_;
  int64_t anchorX_ = 0, anchorY_ = 0;
  int64_t minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0;
};

// The two passes: `read(cells)` is the whole of a reader over the text, with
// the pattern it fills started afresh each time.
template <typename ReadFn>
bool ReadTwice(Pattern& out, PatternReadError& error, bool sortAndDropRepeats, ReadFn read) {
  CellCollector cells;
  Pattern counted;
  if (!read(counted, cells)) return false;
  if (cells.Empty()) return Fail(error, 1, 1, PatternError::kEmpty);
  cells.StartFilling();
  Pattern pattern;
  if (!read(pattern, cells)) return false;  // cannot happen: the same text again
  cells.MoveInto(pattern, sortAndDropRepeats);
  out = std::move(pattern);
  error = PatternReadError{};
  return true;
}

}  // namespace pattern_text
