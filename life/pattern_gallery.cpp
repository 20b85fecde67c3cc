#include "life/pattern_gallery.h"

#include <cctype>

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

void LogRefusal(const std::string& name, const char* why, size_t line, size_t column) {
  MainLog() << "<!> Gallery pattern " << name << ": " << why << " (line " << static_cast<uint32_t>(line)
            << ", column " << static_cast<uint32_t>(column) << "); left out.\n";
}
}  // namespace

std::vector<GalleryEntry> BuildGallery(const std::vector<GalleryText>& texts) {
  std::vector<GalleryEntry> entries;
  entries.reserve(texts.size());
  for (const GalleryText& text : texts) {
    GalleryEntry entry;
    PatternReadError readError;
    if (!ReadRle(text.text, entry.pattern, readError)) {
      LogRefusal(text.name, "not a pattern", readError.line, readError.column);
      continue;
    }
    RuleParseError ruleError;
    if (!ParseRulestring(entry.pattern.rule, entry.rule, ruleError)) {
      LogRefusal(text.name, "no rule that reads", 0, ruleError.position + 1);
      continue;
    }
    if (entry.pattern.name.empty() || entry.pattern.comments.empty()) {
      LogRefusal(text.name, "no name or no description", 0, 0);
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
