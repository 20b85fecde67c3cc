// The gallery as the pages and the fill modes use it: every file of
// resources/patterns an entry, found by name in any case and by rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "life/pattern_gallery.h"
#include "life/pattern_gallery_texts.h"

namespace {

RuleDefinition Rule(const char* text) {
  RuleDefinition rule;
  RuleParseError error;
  EXPECT_TRUE(ParseRulestring(text, rule, error)) << text;
  return rule;
}

bool Holds(const std::vector<const GalleryEntry*>& entries, const char* name) {
  return std::any_of(entries.begin(), entries.end(), [&](const GalleryEntry* e) { return e->name == name; });
}

// A file whose text or rule does not read would drop out of the gallery;
// the count against the files makes that a failure.
TEST(Gallery, EveryFileIsAnEntryInTheIndexOrder) {
  const std::vector<GalleryText> texts = CompiledGalleryTexts();
  const std::vector<GalleryEntry>& gallery = PatternGallery();
  ASSERT_GE(texts.size(), 40u);
  ASSERT_EQ(gallery.size(), texts.size());
  EXPECT_EQ(texts.front().name, "GLIDER");
  EXPECT_EQ(gallery.front().name, "Glider");
  for (const GalleryEntry& entry : gallery) {
    EXPECT_FALSE(entry.description.empty()) << entry.name;
    EXPECT_FALSE(entry.pattern.cells.empty()) << entry.name;
    EXPECT_GT(entry.pattern.width, 0) << entry.name;
    EXPECT_EQ(FindGalleryEntry(entry.name), &entry) << "two entries named " << entry.name;
  }
}

TEST(Gallery, LeavesOutATextThatIsNoPatternOrHasNoRuleNameOrTrueSize) {
  const std::vector<GalleryText> texts = {
      {"GOOD", "#N Good\n#C Fine.\nx = 3, y = 1, rule = B3/S23\n3o!\n"},
      {"NO_RULE", "#N Bad rule\n#C Fine.\nx = 3, y = 1, rule = B9/S23\n3o!\n"},
      {"NO_PATTERN", "#N Bad text\n#C Fine.\nx = 3, y = 1, rule = B3/S23\n3?!\n"},
      {"NO_NAME", "#C Fine.\nx = 3, y = 1, rule = B3/S23\n3o!\n"},
      {"BAD_SIZE", "#N Bad size\n#C Fine.\nx = 5, y = 1, rule = B3/S23\n3o!\n"},
  };
  const std::vector<GalleryEntry> entries = BuildGallery(texts);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "Good");
  EXPECT_EQ(entries[0].description, "Fine.");
  EXPECT_EQ(entries[0].rule, Rule("B3/S23"));
  EXPECT_EQ(entries[0].pattern.width, 3);
}

TEST(Gallery, FindsByNameInAnyCase) {
  const GalleryEntry* glider = FindGalleryEntry("gLIDER");
  ASSERT_NE(glider, nullptr);
  EXPECT_EQ(glider->name, "Glider");
  EXPECT_EQ(glider->pattern.cells.size(), 5u);
  ASSERT_NE(FindGalleryEntry("KOK'S GALAXY"), nullptr);
  EXPECT_EQ(FindGalleryEntry("Glide"), nullptr);
  EXPECT_EQ(FindGalleryEntry(""), nullptr);
}

TEST(Gallery, ByRuleTakesTheMasksAndTheStateCount) {
  const auto life = GalleryEntriesForRule(Rule("B3/S23"));
  EXPECT_TRUE(Holds(life, "Gosper glider gun"));
  EXPECT_FALSE(Holds(life, "Replicator"));
  EXPECT_TRUE(Holds(GalleryEntriesForRule(Rule("HighLife")), "Replicator"));
  EXPECT_TRUE(Holds(GalleryEntriesForRule(Rule("Day & Night")), "Day & Night cross"));
  // B2/S is Seeds with two states and Brian's Brain with three.
  const auto seeds = GalleryEntriesForRule(Rule("B2/S"));
  const auto brain = GalleryEntriesForRule(Rule("B2/S/C3"));
  EXPECT_TRUE(Holds(seeds, "Duoplet"));
  EXPECT_FALSE(Holds(seeds, "Brain p3 oscillator"));
  EXPECT_TRUE(Holds(brain, "Brain p3 oscillator"));
  EXPECT_FALSE(Holds(brain, "Duoplet"));
  EXPECT_EQ(GalleryEntriesForRule(Rule("B2/S345/C4")).size(), 3u);
  EXPECT_TRUE(GalleryEntriesForRule(Rule("Maze")).empty());
  const auto first = GalleryEntriesForRule(Rule("B3/S23")).front();
  EXPECT_EQ(first, &PatternGallery().front()) << "in the gallery's order";
}

}  // namespace
