// The statistics formats from the program's English string table, whatever
// the user's language: the overlay's glyph sheet holds ASCII only, so the
// Russian twins of these formats would draw as unknown glyphs.
#include <windows.h>

#include <string>

#include "engine/core/resource_loader_win32.h"
#include "life/overlay_text.h"
#include "resources/resource.h"

namespace {
std::string Narrow(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &narrow[0], size, nullptr,
                      nullptr);
  return narrow;
}
}  // namespace

StatisticsFormats LoadStatisticsFormats() {
  StatisticsFormats formats =
      CheckedStatisticsFormats({Narrow(LoadResourceString(IDS_STAT_TOTAL, kEnglishUs)),
                                Narrow(LoadResourceString(IDS_STAT_AVERAGE_AGE, kEnglishUs)),
                                Narrow(LoadResourceString(IDS_STAT_GENERATION, kEnglishUs)),
                                Narrow(LoadResourceString(IDS_STAT_AVERAGE_TOTAL, kEnglishUs))});
  CheckPatternFormats(formats, Narrow(LoadResourceString(IDS_STAT_PATTERN, kEnglishUs)),
                      Narrow(LoadResourceString(IDS_STAT_NO_FAMOUS_PATTERN, kEnglishUs)));
  return formats;
}
