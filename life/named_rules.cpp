#include "life/named_rules.h"

#include <initializer_list>
#include <utility>

namespace {
// The counts written as digits, "36" -> bits 3 and 6, so the table reads like
// the notation it stands for.
constexpr uint16_t Counts(const char* digits) {
  uint16_t mask = 0;
  for (; *digits != '\0'; ++digits) mask = static_cast<uint16_t>(mask | (1u << (*digits - '0')));
  return mask;
}
}  // namespace

const std::array<NamedRule, kNamedRuleCount> kNamedRules = {{
    {"Life", Counts("3"), Counts("23")},
    {"HighLife", Counts("36"), Counts("23")},
    {"Day & Night", Counts("3678"), Counts("34678")},
    {"Seeds", Counts("2"), Counts("")},
    {"Life without Death", Counts("3"), Counts("012345678")},
    {"Maze", Counts("3"), Counts("12345")},
    {"Mazectric", Counts("3"), Counts("1234")},
    {"Coral", Counts("3"), Counts("45678")},
    {"2x2", Counts("36"), Counts("125")},
    {"34 Life", Counts("34"), Counts("34")},
    {"Move", Counts("368"), Counts("245")},
    {"Diamoeba", Counts("35678"), Counts("5678")},
    {"Anneal", Counts("4678"), Counts("35678")},
    {"Long Life", Counts("345"), Counts("5")},
    {"Gnarl", Counts("1"), Counts("1")},
    {"Replicator", Counts("1357"), Counts("1357")},
    {"Brian's Brain", Counts("2"), Counts(""), 3},
    {"Star Wars", Counts("2"), Counts("345"), 4},
    {"Bombers", Counts("24"), Counts("345"), 25},
    {"Frogs", Counts("34"), Counts("12"), 3},
    {"Sticks", Counts("2"), Counts("3456"), 6},
    {"Lava", Counts("45678"), Counts("12345"), 8},
    {"Fireworks", Counts("13"), Counts("2"), 21},
    {"Spirals", Counts("234"), Counts("2"), 5},
}};

int FindNamedRule(uint16_t born, uint16_t survive, int32_t states) {
  for (size_t i = 0; i < kNamedRules.size(); ++i) {
    const NamedRule& rule = kNamedRules[i];
    if (rule.born == born && rule.survive == survive && rule.states == states) return static_cast<int>(i);
  }
  return -1;
}

std::string RuleNotation(uint16_t born, uint16_t survive) {
  std::string text;
  for (auto [letter, mask] : {std::pair{'B', born}, std::pair{'S', survive}}) {
    if (letter == 'S') text += '/';
    text += letter;
    for (int k = 0; k < 9; ++k)
      if (mask & (1u << k)) text += static_cast<char>('0' + k);
  }
  return text;
}

uint16_t RuleMask(const uint8_t flags[9]) {
  uint16_t mask = 0;
  for (int k = 0; k < 9; ++k)
    if (flags[k] != 0) mask = static_cast<uint16_t>(mask | (1u << k));
  return mask;
}

void RuleFlags(uint16_t mask, uint8_t flags[9]) {
  for (int k = 0; k < 9; ++k) flags[k] = (mask >> k) & 1u;
}
