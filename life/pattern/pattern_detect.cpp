// Telling the format from the content: the first line that is not blank
// decides, except that RLE may open with '#' lines before its header.
#include "life/pattern/pattern_reader.h"
#include "life/pattern/pattern_text.h"

using namespace pattern_text;

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool IsRleHeader(std::string_view line) {
  if (line.empty() || (line[0] != 'x' && line[0] != 'X')) return false;
  size_t at = 1;
  while (at < line.size() && IsBlank(line[at])) ++at;
  return at < line.size() && line[at] == '=';
}

bool IsPlaintextRow(std::string_view line) {
  for (const char c : line)
    if (c != '.' && c != 'O' && c != '*') return false;
  return true;
}

// The first line with something on it, trimmed; false when there is none.
bool FirstLine(Lines& lines, Line& line) {
  while (lines.Next(line)) {
    const std::string_view trimmed = Trim(line.text);
    if (!trimmed.empty()) {
      line.text = trimmed;
      return true;
    }
  }
  return false;
}

}  // namespace

PatternFormat DetectPatternFormat(std::string_view text) {
  Lines lines(text);
  Line line;
  if (!FirstLine(lines, line)) return PatternFormat::kUnknown;
  if (StartsWith(line.text, "#Life 1.05")) return PatternFormat::kLife105;
  if (StartsWith(line.text, "#Life 1.06")) return PatternFormat::kLife106;
  if (line.text[0] == '!') return PatternFormat::kPlaintext;
  while (line.text[0] == '#')
    if (!FirstLine(lines, line)) return PatternFormat::kUnknown;
  if (IsRleHeader(line.text)) return PatternFormat::kRle;
  if (IsPlaintextRow(line.text)) return PatternFormat::kPlaintext;
  return PatternFormat::kUnknown;
}

bool ReadPattern(std::string_view text, Pattern& out, PatternReadError& error) {
  if (text.size() > kMaxPatternBytes) return Fail(error, 1, 1, PatternError::kInputTooLarge);
  switch (DetectPatternFormat(text)) {
    case PatternFormat::kRle:
      return ReadRle(text, out, error);
    case PatternFormat::kPlaintext:
      return ReadPlaintext(text, out, error);
    case PatternFormat::kLife105:
      return ReadLife105(text, out, error);
    case PatternFormat::kLife106:
      return ReadLife106(text, out, error);
    case PatternFormat::kUnknown:
      break;
  }
  // The refusal points at the first line that is neither blank nor a '#' line.
  Lines lines(text);
  Line first;
  while (lines.Next(first)) {
    const std::string_view trimmed = Trim(first.text);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    const size_t column = static_cast<size_t>(trimmed.data() - first.text.data()) + 1;
    return Fail(error, first.number, column, PatternError::kUnknownFormat);
  }
  return Fail(error, 1, 1, PatternError::kEmpty);
}
