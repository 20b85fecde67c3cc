// RLE, the format most patterns are shared in:
//   #N name, #C/#c comment, #O author, #r rule, #P/#R position (ignored)
//   x = W, y = H[, rule = ...]
//   runs of <count><tag>: b or . dead, o alive, A..X and pA..yO the states
//   1..255 of multi-state rules, $ ends a row (a count skips rows), ! ends.
// Blanks and line breaks may stand anywhere between runs, and between a count
// and its tag too: some writers wrap lines at a fixed width wherever it falls.
// A count itself is one unbroken string of digits; a second count after a
// blank is refused rather than joined to the first.
#include <string>

#include "life/pattern/pattern_reader.h"
#include "life/pattern/pattern_text.h"

using namespace pattern_text;

namespace {

// A single run: a dead stretch of 10^9 cells is as wide as anything a file
// means; the sum over 16 MB of such runs still fits in 64 bits.
constexpr int64_t kMaxRunCount = 1000000000;

bool SameLetterIgnoringCase(char c, char lower) { return c == lower || c == lower - 'a' + 'A'; }

struct Header {
  int64_t width = 0;
  int64_t height = 0;
  std::string rule;
  bool hasRule = false;
};

class HeaderReader {
 public:
  HeaderReader(const Line& line, PatternReadError& error) : s_(line.text), line_(line.number), error_(error) {}

  bool Read(Header& header) {
    SkipBlanks();
    if (!Key("x") || !Equals() || !Size(header.width) || !Comma() || !Key("y") || !Equals() || !Size(header.height))
      return false;
    SkipBlanks();
    if (at_ == s_.size()) return true;
    if (!Comma() || !Key("rule") || !Equals()) return false;
    const std::string_view rule = Trim(s_.substr(at_));
    if (rule.empty()) return Fail(error_, line_, at_ + 1, PatternError::kBadHeader);
    header.rule.assign(rule.data(), rule.size());
    header.hasRule = true;
    return true;
  }

 private:
  void SkipBlanks() {
    while (at_ < s_.size() && IsBlank(s_[at_])) ++at_;
  }
  bool Refuse() { return Fail(error_, line_, at_ + 1, PatternError::kBadHeader); }
  bool Key(const char* key) {
    SkipBlanks();
    for (const char* k = key; *k != '\0'; ++k, ++at_)
      if (at_ >= s_.size() || !SameLetterIgnoringCase(s_[at_], *k)) return Refuse();
    return true;
  }
  bool Equals() {
    SkipBlanks();
    if (at_ >= s_.size() || s_[at_] != '=') return Refuse();
    ++at_;
    return true;
  }
  bool Comma() {
    SkipBlanks();
    if (at_ >= s_.size() || s_[at_] != ',') return Refuse();
    ++at_;
    return true;
  }
  bool Size(int64_t& value) {
    SkipBlanks();
    const size_t start = at_;
    if (at_ >= s_.size() || !IsDigit(s_[at_])) return Refuse();
    if (!ReadInteger(s_, at_, value) || value > kMaxPatternSide)
      return Fail(error_, line_, start + 1, PatternError::kTooLarge);
    return true;
  }

  std::string_view s_;
  size_t line_;
  size_t at_ = 0;
  PatternReadError& error_;
};

// The runs after the header, token by token across lines.
class RunReader {
 public:
  RunReader(std::string_view text, size_t at, size_t line, PatternReadError& error)
      : text_(text), at_(at), lineStart_(at), line_(line), error_(error) {}

  bool Read(CellCollector& cells) {
    int64_t count = 0;
    size_t countAt = 0;  // offset of the pending count's first digit
    bool pending = false;
    size_t countLine = 0, countLineStart = 0;
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '\n') {
        ++line_;
        lineStart_ = ++at_;
        continue;
      }
      if (IsBlank(c)) {
        ++at_;
        continue;
      }
      if (IsDigit(c)) {
        if (pending) return FailHere(PatternError::kUnexpectedCharacter);
        countAt = at_, countLine = line_, countLineStart = lineStart_;
        count = 0;
        for (; at_ < text_.size() && IsDigit(text_[at_]); ++at_) {
          count = count * 10 + (text_[at_] - '0');
          if (count > kMaxRunCount) return FailAt(countLine, countAt - countLineStart, PatternError::kBadNumber);
        }
        if (count == 0) return FailAt(countLine, countAt - countLineStart, PatternError::kBadNumber);
        pending = true;
        continue;
      }
      if (c == '!') return true;
      const int64_t n = pending ? count : 1;
      const size_t tokenLine = pending ? countLine : line_;
      const size_t tokenColumn = pending ? countAt - countLineStart : at_ - lineStart_;
      pending = false;
      if (c == '$') {
        y_ += n;
        x_ = 0;
        ++at_;
        continue;
      }
      if (c == 'b' || c == '.') {
        x_ += n;
        ++at_;
        continue;
      }
      int state = 0;
      if (c == 'o') {
        state = 1;
        ++at_;
      } else if (c >= 'A' && c <= 'X') {
        state = c - 'A' + 1;
        ++at_;
      } else if (c >= 'p' && c <= 'y') {
        const char second = at_ + 1 < text_.size() ? text_[at_ + 1] : '\0';
        if (second < 'A' || second > 'X') return FailHere(PatternError::kBadState);
        state = 24 * (c - 'p' + 1) + (second - 'A' + 1);
        if (state > 255) return FailHere(PatternError::kBadState);
        at_ += 2;
      } else {
        return FailHere(PatternError::kUnexpectedCharacter);
      }
      const PatternError refused = cells.AddRun(x_, y_, n, static_cast<uint8_t>(state));
      if (refused != PatternError::kNone) return FailAt(tokenLine, tokenColumn, refused);
      x_ += n;
    }
    return true;  // a file cut short of its '!' still has its runs
  }

 private:
  bool FailAt(size_t line, size_t offsetInLine, PatternError reason) {
    return Fail(error_, line, offsetInLine + 1, reason);
  }
  bool FailHere(PatternError reason) { return FailAt(line_, at_ - lineStart_, reason); }

  std::string_view text_;
  size_t at_;
  size_t lineStart_;
  size_t line_;
  int64_t x_ = 0, y_ = 0;
  PatternReadError& error_;
};

std::string LineValue(std::string_view line) {
  const std::string_view value = Trim(line.substr(2));
  return std::string(value);
}

}  // namespace

bool ReadRle(std::string_view text, Pattern& out, PatternReadError& error) {
  if (text.size() > kMaxPatternBytes) return Fail(error, 1, 1, PatternError::kInputTooLarge);
  bool disagrees = false;
  const bool read = ReadTwice(out, error, false, [&](Pattern& pattern, CellCollector& cells) {
    Lines lines(text);
    Line line;
    Header header;
    bool found = false;
    while (lines.Next(line)) {
      const std::string_view trimmed = Trim(line.text);
      if (trimmed.empty()) continue;
      if (trimmed[0] != '#') {
        HeaderReader reader(line, error);
        if (!reader.Read(header)) return false;
        found = true;
        break;
      }
      const char tag = trimmed.size() > 1 ? trimmed[1] : '\0';
      if (tag == 'N') {
        pattern.name = LineValue(trimmed);
      } else if (tag == 'C' || tag == 'c') {
        pattern.comments.push_back(LineValue(trimmed));
      } else if (tag == 'O') {
        pattern.author = LineValue(trimmed);
      } else if (tag == 'r') {
        pattern.rule = LineValue(trimmed);
      }
      // #P and #R place the pattern in a larger space that is not kept here;
      // other '#' lines some programs write carry nothing the reader uses.
    }
    if (!found) return Fail(error, 1, 1, PatternError::kEmpty);
    if (header.hasRule) pattern.rule = std::move(header.rule);
    RunReader runs(text, lines.Offset(), line.number + 1, error);
    if (!runs.Read(cells)) return false;
    disagrees = cells.MaxX() + 1 != header.width || cells.MaxY() + 1 != header.height;
    return true;
  });
  if (read) out.headerSizeDisagrees = disagrees;
  return read;
}
