// The Life-family rules the configuration pages offer by name, as masks over
// the neighbour counts of the Born/Survive boxes: bit k stands for k living
// neighbours, the same index as RuleBorn[k] and RuleSurvive[k]. The
// Life-like rules come first, then the Generations rules (more than two
// states).
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct NamedRule {
  const char* name;  // a proper name, the same in every language
  uint16_t born;
  uint16_t survive;
  int32_t states = 2;  // as RuleStates
};

inline constexpr size_t kNamedRuleCount = 24;
extern const std::array<NamedRule, kNamedRuleCount> kNamedRules;

// Index into kNamedRules of the rule with exactly these masks and state
// count, or -1 for a rule that has no name (the pages call it "Custom"): B2/S
// is Seeds with two states and Brian's Brain with three.
int FindNamedRule(uint16_t born, uint16_t survive, int32_t states = 2);

// "B36/S23": the counts of each mask in ascending order; an empty mask leaves
// its letter alone ("B2/S").
std::string RuleNotation(uint16_t born, uint16_t survive);

// Between the nine 0/1 flags the task keeps and a mask.
uint16_t RuleMask(const uint8_t flags[9]);
void RuleFlags(uint16_t mask, uint8_t flags[9]);
