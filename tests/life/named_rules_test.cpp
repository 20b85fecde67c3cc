// The named rules: each one's notation as the rule is known by, the way back
// from the masks to the name, and the flags the task keeps.
#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>
#include <utility>

#include "life/named_rules.h"
#include "life/rulestring.h"

TEST(NamedRules, EveryEntryShowsItsNotationAndIsFoundByItsMasks) {
  constexpr size_t kLifeLike = 16;  // the Generations rules follow them
  const char* notations[kLifeLike] = {
      "B3/S23",   "B36/S23",   "B3678/S34678", "B2/S",     "B3/S012345678", "B3/S12345", "B3/S1234", "B3/S45678",
      "B36/S125", "B34/S34",   "B368/S245",    "B35678/S5678", "B4678/S35678", "B345/S5", "B1/S1", "B1357/S1357"};
  std::set<std::pair<uint16_t, uint16_t>> rules;
  for (size_t i = 0; i < kLifeLike; ++i) {
    const NamedRule& r = kNamedRules[i];
    EXPECT_EQ(RuleNotation(r.born, r.survive), notations[i]) << r.name;
    EXPECT_EQ(FindNamedRule(r.born, r.survive), static_cast<int>(i)) << r.name;
    rules.insert({r.born, r.survive});
  }
  EXPECT_EQ(rules.size(), kLifeLike);  // no two names for one rule
  EXPECT_STREQ(kNamedRules[2].name, "Day & Night");
  EXPECT_STREQ(kNamedRules[15].name, "Replicator");
}

TEST(NamedRules, TheGenerationsRulesShowTheirRulestringsAndAreFoundWithTheirStateCount) {
  const std::pair<const char*, const char*> rules[] = {
      {"Brian's Brain", "B2/S/C3"}, {"Star Wars", "B2/S345/C4"}, {"Bombers", "B24/S345/C25"},
      {"Frogs", "B34/S12/C3"},      {"Sticks", "B2/S3456/C6"},   {"Lava", "B45678/S12345/C8"},
      {"Fireworks", "B13/S2/C21"},  {"Spirals", "B234/S2/C5"}};
  ASSERT_EQ(kNamedRuleCount, 16 + std::size(rules));
  for (size_t i = 0; i < std::size(rules); ++i) {
    const NamedRule& r = kNamedRules[16 + i];
    EXPECT_STREQ(r.name, rules[i].first);
    EXPECT_EQ(PrintRulestring(RuleDefinition{r.born, r.survive, r.states}), rules[i].second) << r.name;
    EXPECT_EQ(FindNamedRule(r.born, r.survive, r.states), static_cast<int>(16 + i)) << r.name;
  }
  // The same masks with another state count are another rule.
  EXPECT_EQ(FindNamedRule(0x004, 0, 2), 3);  // Seeds
  EXPECT_EQ(FindNamedRule(0x004, 0, 3), 16);
  EXPECT_EQ(FindNamedRule(0x004, 0, 4), -1);
  EXPECT_EQ(FindNamedRule(0x008, 0x00C, 3), -1);
}

TEST(NamedRules, TheTasksFlagsMapToMasksAndUnlistedRulesAreCustom) {
  const uint8_t lifeBorn[9] = {0, 0, 0, 1, 0, 0, 0, 0, 0}, lifeSurvive[9] = {0, 0, 1, 1, 0, 0, 0, 0, 0};
  EXPECT_EQ(RuleMask(lifeBorn), 0x008);
  EXPECT_EQ(RuleMask(lifeSurvive), 0x00C);
  EXPECT_EQ(FindNamedRule(RuleMask(lifeBorn), RuleMask(lifeSurvive)), 0);
  uint8_t flags[9] = {};
  RuleFlags(0x1FF, flags);
  for (uint8_t f : flags) EXPECT_EQ(f, 1);
  RuleFlags(0x148, flags);  // counts 3, 6 and 8
  EXPECT_EQ(RuleMask(flags), 0x148);
  EXPECT_EQ(RuleNotation(0x148, 0), "B368/S");
  EXPECT_EQ(FindNamedRule(0x008, 0x004), -1);  // B3/S2
  EXPECT_EQ(FindNamedRule(0, 0), -1);
  EXPECT_EQ(RuleNotation(0, 0), "B/S");
}
