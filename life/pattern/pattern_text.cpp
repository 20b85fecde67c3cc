#include "life/pattern/pattern_text.h"

#include <algorithm>

namespace pattern_text {

size_t TextStart(std::string_view text) {
  return text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
}

std::string_view Trim(std::string_view s) {
  size_t begin = 0, end = s.size();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

bool Lines::Next(Line& line) {
  if (at_ >= text_.size()) return false;
  const size_t newline = text_.find('\n', at_);
  const size_t end = newline == std::string_view::npos ? text_.size() : newline;
  line = Line{text_.substr(at_, end - at_), ++number_, at_};
  at_ = newline == std::string_view::npos ? text_.size() : newline + 1;
  return true;
}

bool ReadInteger(std::string_view s, size_t& at, int64_t& value) {
  size_t i = at;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  const size_t digits = i;
  int64_t v = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    if (i - digits >= 15) return false;
    v = v * 10 + (s[i] - '0');
  }
  if (i == digits) return false;
  value = negative ? -v : v;
  at = i;
  return true;
}

PatternError CellCollector::AddRun(int64_t x, int64_t y, int64_t count, uint8_t state) {
  if (count <= 0) return PatternError::kNone;
  const int64_t lastX = x + count - 1;
  int64_t minX = x, maxX = lastX, minY = y, maxY = y;
  if (count_ > 0) {
    minX = std::min(minX_, x);
    maxX = std::max(maxX_, lastX);
    minY = std::min(minY_, y);
    maxY = std::max(maxY_, y);
  }
  if (maxX - minX >= kMaxPatternSide || maxY - minY >= kMaxPatternSide) return PatternError::kTooLarge;
  if (static_cast<uint64_t>(count) > kMaxPatternCells - count_) return PatternError::kTooManyCells;
  // Only a reader that read the same text differently could get here.
  if (filling_ && static_cast<uint64_t>(count) > cells_.size() - count_) return PatternError::kTooManyCells;
  if (count_ == 0) {
    anchorX_ = x;
    anchorY_ = y;
  }
  minX_ = minX, maxX_ = maxX, minY_ = minY, maxY_ = maxY;
  count_ += static_cast<size_t>(count);
  if (filling_) {
    const int32_t relX = static_cast<int32_t>(x - anchorX_);
    const int32_t relY = static_cast<int32_t>(y - anchorY_);
    PatternCell* cell = cells_.data() + (count_ - static_cast<size_t>(count));
    for (int32_t i = 0; i < static_cast<int32_t>(count); ++i) cell[i] = PatternCell{relX + i, relY, state};
  }
  return PatternError::kNone;
}

void CellCollector::StartFilling() {
  cells_.resize(count_);  // the same text gives the same cells: the second pass fills these
  filling_ = true;
  count_ = 0;
}

void CellCollector::MoveInto(Pattern& pattern, bool sortAndDropRepeats) {
  cells_.resize(count_);
  const int32_t shiftX = static_cast<int32_t>(minX_ - anchorX_);
  const int32_t shiftY = static_cast<int32_t>(minY_ - anchorY_);
  for (PatternCell& cell : cells_) {
    cell.x -= shiftX;
    cell.y -= shiftY;
  }
  if (sortAndDropRepeats) {
    std::sort(cells_.begin(), cells_.end(), [](const PatternCell& a, const PatternCell& b) {
      return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    cells_.erase(std::unique(cells_.begin(), cells_.end(),
                             [](const PatternCell& a, const PatternCell& b) { return a.x == b.x && a.y == b.y; }),
                 cells_.end());
  }
  pattern.width = count_ == 0 ? 0 : static_cast<int32_t>(maxX_ - minX_ + 1);
  pattern.height = count_ == 0 ? 0 : static_cast<int32_t>(maxY_ - minY_ + 1);
  pattern.cells = std::move(cells_);
  cells_.clear();
}

}  // namespace pattern_text
