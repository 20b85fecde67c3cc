// Feeds arbitrary text to the rule reader: a refusal must point inside the
// text and leave the rule alone; an accepted rule must print in the canonical
// form and read back as itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "life/rulestring.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const RuleDefinition untouched{0x1FF, 0x1FF, 77};
  RuleDefinition rule = untouched;
  RuleParseError error;
  if (!ParseRulestring(text, rule, error)) {
    if (!(rule == untouched) || error.reason == RuleError::kNone || error.position > size) __builtin_trap();
    return 0;
  }
  if (error.reason != RuleError::kNone || rule.born > 0x1FF || rule.survive > 0x1FF || rule.states < kMinRuleStates ||
      rule.states > kMaxRuleStates)
    __builtin_trap();
  const std::string printed = PrintRulestring(rule);
  RuleDefinition again = untouched;
  if (!ParseRulestring(printed, again, error) || !(again == rule) || PrintRulestring(again) != printed)
    __builtin_trap();
  return 0;
}
