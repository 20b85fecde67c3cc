// Plaintext (.cells): "!Name: ..." and other '!' lines, which are comments
// ("!Author: ..." as LifeWiki writes it gives the author), then rows of '.'
// dead and 'O' or '*' alive. A short row is padded with dead cells; an empty
// line is a row of dead cells. Blanks may end a row, but not stand inside it.
#include <string>

#include "life/pattern/pattern_reader.h"
#include "life/pattern/pattern_text.h"

using namespace pattern_text;

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

bool ReadPlaintext(std::string_view text, Pattern& out, PatternReadError& error) {
  if (text.size() > kMaxPatternBytes) return Fail(error, 1, 1, PatternError::kInputTooLarge);
  return ReadTwice(out, error, false, [&](Pattern& pattern, CellCollector& cells) {
    Lines lines(text);
    Line line;
    int64_t y = 0;
    while (lines.Next(line)) {
      if (!line.text.empty() && line.text[0] == '!') {
        const std::string_view rest = line.text.substr(1);
        if (StartsWith(rest, "Name:")) {
          pattern.name = std::string(Trim(rest.substr(5)));
        } else if (StartsWith(rest, "Author:")) {
          pattern.author = std::string(Trim(rest.substr(7)));
        } else {
          pattern.comments.emplace_back(Trim(rest));
        }
        continue;
      }
      size_t end = line.text.size();
      while (end > 0 && IsBlank(line.text[end - 1])) --end;
      for (size_t x = 0; x < end;) {
        const char c = line.text[x];
        if (c == '.') {
          ++x;
          continue;
        }
        if (c != 'O' && c != '*') return Fail(error, line.number, x + 1, PatternError::kUnexpectedCharacter);
        const size_t start = x;
        while (x < end && (line.text[x] == 'O' || line.text[x] == '*')) ++x;
        const PatternError refused =
            cells.AddRun(static_cast<int64_t>(start), y, static_cast<int64_t>(x - start), 1);
        if (refused != PatternError::kNone) return Fail(error, line.number, start + 1, refused);
      }
      ++y;
    }
    return true;
  });
}
