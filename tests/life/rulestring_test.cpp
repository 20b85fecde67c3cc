// Reading and printing rules: the accepted forms, where and why a text is
// refused, and that printing then reading gives the same rule.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

#include "life/named_rules.h"
#include "life/rulestring.h"

namespace {

RuleDefinition Read(const char* text) {
  RuleDefinition rule{0, 0, 99};
  RuleParseError error;
  EXPECT_TRUE(ParseRulestring(text, rule, error)) << text << ": reason " << static_cast<int>(error.reason) << " at "
                                                 << error.position;
  EXPECT_EQ(error.reason, RuleError::kNone);
  return rule;
}

TEST(Rulestring, EveryFormReadsAsItsRule) {
  const RuleDefinition life{0x008, 0x00C, 2};
  for (const char* text : {"B3/S23", "b3/s23", "S23/B3", "s23/b3", "23/3", " B3/S23\t", "B3/S23/C2", "C2/S32/B3", "23/3/2"})
    EXPECT_EQ(Read(text), life) << text;
  const RuleDefinition brain{0x004, 0x000, 3};
  for (const char* text : {"B2/S/C3", "/2/3", "c3/S/b2", "B2/S/C03"}) EXPECT_EQ(Read(text), brain) << text;
  EXPECT_EQ(Read("B/S/C256"), (RuleDefinition{0, 0, 256}));
  EXPECT_EQ(Read("/"), (RuleDefinition{0, 0, 2}));
  EXPECT_EQ(Read("012345678/012345678"), (RuleDefinition{0x1FF, 0x1FF, 2}));
}

TEST(Rulestring, TheNamedRulesReadByNameInAnyCase) {
  for (const NamedRule& named : kNamedRules) {
    std::string lower = named.name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(Read(named.name), (RuleDefinition{named.born, named.survive, named.states})) << named.name;
    EXPECT_EQ(Read(lower.c_str()), (RuleDefinition{named.born, named.survive, named.states})) << lower;
  }
}

TEST(Rulestring, ARefusalSaysWhereAndWhyAndChangesNothing) {
  struct Case {
    const char* text;
    size_t position;
    RuleError reason;
  };
  const Case cases[] = {
      {"", 0, RuleError::kEmpty},                        {"  ", 2, RuleError::kEmpty},
      {"Lif", 0, RuleError::kUnknownName},               {"B3/S29", 5, RuleError::kCountOutOfRange},
      {"B33/S2", 2, RuleError::kRepeatedCount},          {"B3/B4/S2", 3, RuleError::kRepeatedPart},
      {"S23", 3, RuleError::kMissingBorn},               {"B3 ", 2, RuleError::kMissingSurvive},
      {"B2/S/C", 6, RuleError::kMissingStates},          {"B2/S/C257", 6, RuleError::kStatesOutOfRange},
      {"/2/1", 3, RuleError::kStatesOutOfRange},         {"/2/99999999999", 3, RuleError::kStatesOutOfRange},
      {"23/3/4/5", 6, RuleError::kTooManyParts},         {"23/B3", 3, RuleError::kMixedForms},
      {"B3/23", 3, RuleError::kMixedForms},              {"B3S23", 2, RuleError::kUnexpectedCharacter},
      {"B3/S23/", 7, RuleError::kUnexpectedCharacter},   {"23", 2, RuleError::kMissingBorn},
      {"B3/S2-3", 5, RuleError::kUnexpectedCharacter},
  };
  for (const Case& c : cases) {
    RuleDefinition rule{0x155, 0x0AA, 17};
    RuleParseError error;
    EXPECT_FALSE(ParseRulestring(c.text, rule, error)) << c.text;
    EXPECT_EQ(error.position, c.position) << c.text;
    EXPECT_EQ(error.reason, c.reason) << c.text << ": reason " << static_cast<int>(error.reason);
    EXPECT_EQ(rule, (RuleDefinition{0x155, 0x0AA, 17})) << c.text;
  }
}

TEST(Rulestring, PrintingIsCanonicalAndReadsBack) {
  EXPECT_EQ(PrintRulestring({0x008, 0x00C, 2}), "B3/S23");
  EXPECT_EQ(PrintRulestring({0x004, 0x000, 3}), "B2/S/C3");
  EXPECT_EQ(PrintRulestring({0x004, 0x000, 257}), "B2/S");  // acts as 2
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    const RuleDefinition rule{static_cast<uint16_t>(random() & 0x1FF), static_cast<uint16_t>(random() & 0x1FF),
                              static_cast<int32_t>(2 + random() % 255)};
    EXPECT_EQ(Read(PrintRulestring(rule).c_str()), rule) << PrintRulestring(rule);
  }
}

}  // namespace
