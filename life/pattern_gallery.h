// The gallery of famous patterns the program carries, each with its name,
// its rule and a one-line description, read once from the embedded RLE texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "life/pattern/pattern.h"
#include "life/rulestring.h"

struct GalleryEntry {
  std::string name;
  RuleDefinition rule;
  std::string description;
  Pattern pattern;
};

// Every entry, in the gallery's order; read on first use (thread-safe).
const std::vector<GalleryEntry>& PatternGallery();
// By name, in any case; null for none.
const GalleryEntry* FindGalleryEntry(std::string_view name);
// The entries that run under `rule` (the same masks and state count).
std::vector<const GalleryEntry*> GalleryEntriesForRule(const RuleDefinition& rule);
