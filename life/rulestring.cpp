#include "life/rulestring.h"

#include "life/named_rules.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameNameIgnoringCase(std::string_view text, const char* name) {
  size_t i = 0;
  for (; i < text.size() && name[i] != '\0'; ++i)
    if (Upper(text[i]) != Upper(name[i])) return false;
  return i == text.size() && name[i] == '\0';
}

// The reader keeps its position in the whole text so that errors point into
// what the user typed, blanks included.
class Reader {
 public:
  Reader(std::string_view text, size_t begin, size_t end) : text(text), at(begin), end(end) {}

  bool Parse(RuleDefinition& out) {
    if (IsDigit(text[at]) || text[at] == '/') return ParseBare(out);
    return ParseLettered(out);
  }

  RuleParseError error;

 private:
  bool Fail(size_t position, RuleError reason) {
    error = RuleParseError{position, reason};
    return false;
  }

  // Neighbour counts up to the next '/' or the end.
  bool Counts(uint16_t& mask) {
    mask = 0;
    for (; at < end && text[at] != '/'; ++at) {
      const char c = text[at];
      if (!IsDigit(c)) {
        const bool letter = Upper(c) == 'B' || Upper(c) == 'S' || Upper(c) == 'C';
        return Fail(at, bare && letter ? RuleError::kMixedForms : RuleError::kUnexpectedCharacter);
      }
      if (c == '9') return Fail(at, RuleError::kCountOutOfRange);
      const uint16_t bit = static_cast<uint16_t>(1u << (c - '0'));
      if (mask & bit) return Fail(at, RuleError::kRepeatedCount);
      mask = static_cast<uint16_t>(mask | bit);
    }
    return true;
  }

  bool States(int32_t& states) {
    const size_t start = at;
    int32_t value = 0;
    for (; at < end && text[at] != '/'; ++at) {
      const char c = text[at];
      if (!IsDigit(c)) return Fail(at, RuleError::kUnexpectedCharacter);
      if (value <= kMaxRuleStates) value = value * 10 + (c - '0');
    }
    if (at == start) return Fail(start, RuleError::kMissingStates);
    if (value < kMinRuleStates || value > kMaxRuleStates) return Fail(start, RuleError::kStatesOutOfRange);
    states = value;
    return true;
  }

  // survive/born[/states], every part bare digits.
  bool ParseBare(RuleDefinition& out) {
    bare = true;
    RuleDefinition rule;
    if (!Counts(rule.survive)) return false;
    if (at == end) return Fail(at, RuleError::kMissingBorn);
    ++at;  // the '/'
    if (!Counts(rule.born)) return false;
    if (at < end) {
      ++at;
      if (!States(rule.states)) return false;
      if (at < end) return Fail(at, RuleError::kTooManyParts);
    }
    out = rule;
    return true;
  }

  // B.../S...[/C...] in any order.
  bool ParseLettered(RuleDefinition& out) {
    RuleDefinition rule;
    bool seenBorn = false, seenSurvive = false, seenStates = false;
    for (;;) {
      const size_t partStart = at;
      const char letter = at < end ? Upper(text[at]) : '\0';
      bool* seen = letter == 'B' ? &seenBorn : letter == 'S' ? &seenSurvive : letter == 'C' ? &seenStates : nullptr;
      if (seen == nullptr)
        return Fail(at, at < end && IsDigit(text[at]) ? RuleError::kMixedForms : RuleError::kUnexpectedCharacter);
      if (*seen) return Fail(partStart, RuleError::kRepeatedPart);
      *seen = true;
      ++at;
      const bool read = letter == 'B' ? Counts(rule.born) : letter == 'S' ? Counts(rule.survive) : States(rule.states);
      if (!read) return false;
      if (at == end) break;
      ++at;  // the '/'
    }
    if (!seenBorn) return Fail(end, RuleError::kMissingBorn);
    if (!seenSurvive) return Fail(end, RuleError::kMissingSurvive);
    out = rule;
    return true;
  }

  std::string_view text;
  bool bare = false;
  size_t at;
  size_t end;
};

}  // namespace

bool ParseRulestring(std::string_view text, RuleDefinition& rule, RuleParseError& error) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  if (begin == end) {
    error = RuleParseError{begin, RuleError::kEmpty};
    return false;
  }
  const std::string_view trimmed = text.substr(begin, end - begin);
  for (const NamedRule& named : kNamedRules) {
    if (SameNameIgnoringCase(trimmed, named.name)) {
      rule = RuleDefinition{named.born, named.survive, named.states};
      error = RuleParseError{};
      return true;
    }
  }
  // A word that is not a rule's first letter reads as a name nobody knows.
  const char first = Upper(text[begin]);
  if (first >= 'A' && first <= 'Z' && first != 'B' && first != 'S' && first != 'C')
    return error = RuleParseError{begin, RuleError::kUnknownName}, false;

  Reader reader(text, begin, end);
  if (!reader.Parse(rule)) {
    error = reader.error;
    return false;
  }
  error = RuleParseError{};
  return true;
}

std::string PrintRulestring(const RuleDefinition& rule) {
  std::string text = RuleNotation(rule.born, rule.survive);
  if (rule.states > kMinRuleStates && rule.states <= kMaxRuleStates) text += "/C" + std::to_string(rule.states);
  return text;
}
