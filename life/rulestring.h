// Rules as people write them: "B3/S23" (either order, any case), the older
// survive/born "23/3", the Generations forms "B2/S/C3" and "/2/3" (survive,
// born, states), and the names of the named list. Reading never throws: it
// answers whether the text was a rule and, when it was not, where and why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A rule of the Life family: masks over the neighbour counts (bit k for k
// live neighbours, as in named_rules.h) and the number of cell states, 2 for
// the Life-like rules, 3..256 for Generations rules.
struct RuleDefinition {
  uint16_t born = 0x008;
  uint16_t survive = 0x00C;
  int32_t states = 2;

  bool operator==(const RuleDefinition& other) const {
    return born == other.born && survive == other.survive && states == other.states;
  }
};

inline constexpr int32_t kMinRuleStates = 2;
inline constexpr int32_t kMaxRuleStates = 256;

// Why a text is not a rule. The pages show their own words for each.
enum class RuleError : uint8_t {
  kNone,
  kEmpty,              // nothing but blanks
  kUnknownName,        // starts like a name, but none of the list
  kUnexpectedCharacter,
  kCountOutOfRange,    // a neighbour count of 9
  kRepeatedCount,      // a count twice in one part ("B33")
  kRepeatedPart,       // a letter twice ("B3/B4")
  kMissingBorn,
  kMissingSurvive,
  kMissingStates,      // "C" without a number
  kStatesOutOfRange,   // states below 2 or above 256
  kTooManyParts,       // more than survive/born/states in the digit form
  kMixedForms,         // lettered and bare parts in one rule
};

struct RuleParseError {
  size_t position = 0;  // byte offset into the text where reading stopped
  RuleError reason = RuleError::kNone;
};

// Reads `text` into `rule`. On failure `rule` is left as it was and `error`
// says where and why; on success `error` is cleared.
bool ParseRulestring(std::string_view text, RuleDefinition& rule, RuleParseError& error);

// The canonical form: "B3/S23", or "B2/S/C3" for more than two states.
// States outside 2..256 count as 2, as the step takes them.
std::string PrintRulestring(const RuleDefinition& rule);
