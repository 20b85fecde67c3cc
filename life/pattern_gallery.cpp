#include "life/pattern_gallery.h"

#include <cctype>
#include <string>

#include "engine/core/log.h"
#include "life/pattern/pattern_reader.h"
#include "life/pattern_gallery_texts.h"

namespace {
bool SameNameAnyCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

void LogRefusal(const std::string& name, const std::string& why) {
  MainLog() << "<!> Gallery pattern " << name << ": " << why << "; left out.\n";
}
}  // namespace

std::vector<GalleryEntry> BuildGallery(const std::vector<GalleryText>& texts) {
  std::vector<GalleryEntry> entries;
  entries.reserve(texts.size());
  for (const GalleryText& text : texts) {
    GalleryEntry entry;
    PatternReadError readError;
    if (!ReadRle(text.text, entry.pattern, readError)) {
      LogRefusal(text.name, "no RLE pattern at line " + std::to_string(readError.line) + ", column " +
                                 std::to_string(readError.column));
      continue;
    }
    if (entry.pattern.headerSizeDisagrees) {
      LogRefusal(text.name, "its size line disagrees with its cells");
      continue;
    }
    RuleParseError ruleError;
    if (!ParseRulestring(entry.pattern.rule, entry.rule, ruleError)) {
      LogRefusal(text.name, "its rule \"" + entry.pattern.rule + "\" does not read");
      continue;
    }
    if (entry.pattern.name.empty() || entry.pattern.comments.empty()) {
      LogRefusal(text.name, "no name (#N) or no description (#C)");
      continue;
    }
    entry.name = entry.pattern.name;
    entry.description = entry.pattern.comments.front();
    entries.push_back(std::move(entry));
  }
  return entries;
}

const std::vector<GalleryEntry>& PatternGallery() {
  static const std::vector<GalleryEntry> entries = BuildGallery(GalleryTexts());
  return entries;
}

const GalleryEntry* FindGalleryEntry(std::string_view name) {
  for (const GalleryEntry& entry : PatternGallery())
    if (SameNameAnyCase(entry.name, name)) return &entry;
  return nullptr;
}

std::vector<const GalleryEntry*> GalleryEntriesForRule(const RuleDefinition& rule) {
  std::vector<const GalleryEntry*> found;
  for (const GalleryEntry& entry : PatternGallery())
    if (entry.rule == rule) found.push_back(&entry);
  return found;
}
