// Life 1.06: "#Life 1.06", then one "x y" pair a line for each live cell, in
// any order, negative or not. "#D" lines are comments, as in Life 1.05. A cell
// given twice is one cell.
#include <string>

#include "life/pattern/pattern_reader.h"
#include "life/pattern/pattern_text.h"

using namespace pattern_text;

bool ReadLife106(std::string_view text, Pattern& out, PatternReadError& error) {
  if (text.size() > kMaxPatternBytes) return Fail(error, 1, 1, PatternError::kInputTooLarge);
  return ReadTwice(out, error, true, [&](Pattern& pattern, CellCollector& cells) {
    Lines lines(text);
    Line line;
    bool header = false;
    while (lines.Next(line)) {
      const std::string_view s = line.text;
      size_t at = 0;
      while (at < s.size() && IsBlank(s[at])) ++at;
      if (at == s.size()) continue;
      if (!header) {
        if (Trim(s) != "#Life 1.06") return Fail(error, line.number, at + 1, PatternError::kBadHeader);
        header = true;
        continue;
      }
      if (s[at] == '#') {
        if (at + 1 < s.size() && s[at + 1] == 'D') {
          pattern.comments.emplace_back(Trim(s.substr(at + 2)));
          continue;
        }
        return Fail(error, line.number, at + 1, PatternError::kUnexpectedCharacter);
      }
      const size_t first = at;
      int64_t xy[2];
      for (int64_t& value : xy) {
        while (at < s.size() && IsBlank(s[at])) ++at;
        const size_t start = at;
        if (!ReadInteger(s, at, value)) {
          const bool number = at < s.size() && (IsDigit(s[at]) || s[at] == '-' || s[at] == '+');
          return Fail(error, line.number, start + 1,
                      number ? PatternError::kBadNumber : PatternError::kUnexpectedCharacter);
        }
        if (at < s.size() && !IsBlank(s[at]))
          return Fail(error, line.number, at + 1, PatternError::kUnexpectedCharacter);
      }
      while (at < s.size() && IsBlank(s[at])) ++at;
      if (at < s.size()) return Fail(error, line.number, at + 1, PatternError::kUnexpectedCharacter);
      const PatternError refused = cells.AddRun(xy[0], xy[1], 1, 1);
      if (refused != PatternError::kNone) return Fail(error, line.number, first + 1, refused);
    }
    if (!header) return Fail(error, 1, 1, PatternError::kEmpty);
    return true;
  });
}
