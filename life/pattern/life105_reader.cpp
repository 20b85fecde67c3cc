// Life 1.05: "#Life 1.05", "#D" description lines (comments), "#N" for the
// normal rules (B3/S23), "#R s/b" for another rule in survive/born order,
// kept as written ("23/3"), and blocks of '.' dead and '*' alive rows, each
// block placed by the "#P x y" line above it (rows before any "#P" start at
// 0 0). Blocks may overlap: a cell given twice is one cell. An empty line is
// a row of dead cells; blanks may end a row.
#include <string>

#include "life/pattern/pattern_reader.h"
#include "life/pattern/pattern_text.h"

using namespace pattern_text;

bool ReadLife105(std::string_view text, Pattern& out, PatternReadError& error) {
  if (text.size() > kMaxPatternBytes) return Fail(error, 1, 1, PatternError::kInputTooLarge);
  return ReadTwice(out, error, true, [&](Pattern& pattern, CellCollector& cells) {
    Lines lines(text);
    Line line;
    bool header = false;
    int64_t originX = 0, y = 0;
    while (lines.Next(line)) {
      const std::string_view s = line.text;
      if (!header) {
        size_t at = 0;
        while (at < s.size() && IsBlank(s[at])) ++at;
        if (at == s.size()) continue;
        if (Trim(s) != "#Life 1.05") return Fail(error, line.number, at + 1, PatternError::kBadHeader);
        header = true;
        continue;
      }
      if (!s.empty() && s[0] == '#') {
        const char tag = s.size() > 1 ? s[1] : '\0';
        if (tag == 'D') {
          pattern.comments.emplace_back(Trim(s.substr(2)));
        } else if (tag == 'N') {
          pattern.rule = "B3/S23";
        } else if (tag == 'R') {
          const std::string_view rule = Trim(s.substr(2));
          if (rule.empty()) return Fail(error, line.number, s.size() + 1, PatternError::kBadHeader);
          pattern.rule = std::string(rule);
        } else if (tag == 'P') {
          size_t at = 2;
          int64_t xy[2];
          for (int64_t& value : xy) {
            const size_t blanks = at;
            while (at < s.size() && IsBlank(s[at])) ++at;
            const size_t start = at;
            if (at == blanks || !ReadInteger(s, at, value))
              return Fail(error, line.number, start + 1, PatternError::kBadNumber);
          }
          while (at < s.size() && IsBlank(s[at])) ++at;
          if (at < s.size()) return Fail(error, line.number, at + 1, PatternError::kUnexpectedCharacter);
          originX = xy[0];
          y = xy[1];
        } else {
          return Fail(error, line.number, 2, PatternError::kUnexpectedCharacter);
        }
        continue;
      }
      size_t end = s.size();
      while (end > 0 && IsBlank(s[end - 1])) --end;
      for (size_t x = 0; x < end;) {
        if (s[x] == '.') {
          ++x;
          continue;
        }
        if (s[x] != '*') return Fail(error, line.number, x + 1, PatternError::kUnexpectedCharacter);
        const size_t start = x;
        while (x < end && s[x] == '*') ++x;
        const PatternError refused =
            cells.AddRun(originX + static_cast<int64_t>(start), y, static_cast<int64_t>(x - start), 1);
        if (refused != PatternError::kNone) return Fail(error, line.number, start + 1, refused);
      }
      ++y;
    }
    if (!header) return Fail(error, 1, 1, PatternError::kEmpty);
    return true;
  });
}
