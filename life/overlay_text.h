// The texts of the overlays: the four statistics lines, the frame-rate line
// and the clock, formatted as the task draws them, and the slow drift that
// keeps them from marking OLED panels. Portable; the formats come from the
// English string table in the program.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The statistics formats, top line first (string ids 108, 109, 115, 116).
struct StatisticsFormats {
  std::string total = "Total        : %d";
  std::string averageAge = "Average age  : %3.1f";
  std::string generation = "Generation   : %d";
  std::string averageTotal = "Average total: %u";
  // The line under them in the pattern fill modes (string ids 258, 259).
  std::string pattern = "Pattern      : %s";
  std::string noFamousPattern = "No famous pattern fits here";
};

// Whether `format` is safe to hand to printf with one argument of the kind
// `conversion` ('d', 'u' or 'f'): exactly one conversion, of that kind, with
// only flags, a width and a precision ("%%" is text). The formats come from
// the program's resources and are checked before use like any outside data.
bool FormatTakesOne(const std::string& format, char conversion);

// The four formats as loaded (top line first); a missing or unsafe one keeps
// the built-in text.
StatisticsFormats CheckedStatisticsFormats(const std::array<std::string, 4>& loaded);

// The pattern line's two formats as loaded: `pattern` must take one %s,
// `noFamousPattern` none; a missing or unsafe one keeps the built-in text.
void CheckPatternFormats(StatisticsFormats& formats, const std::string& pattern, const std::string& noFamousPattern);

// The pattern line for `name` (UTF-8): the overlay's glyph sheet holds
// printable ASCII only, so every other character shows as '?'.
std::string PatternLine(const StatisticsFormats& formats, const std::string& name);

// Program build only: the formats from the module's English (1033)
// string table, narrowed and checked.
StatisticsFormats LoadStatisticsFormats();

// Each line fits the 128-character buffer the panel prints from.
std::array<std::string, 4> StatisticsLines(const StatisticsFormats& formats, uint32_t population,
                                           float averageAge, uint32_t generation,
                                           uint32_t populationSum);

// "FPS:%3.1f" of 1000 / frameTime, in a 32-character buffer.
std::string FrameRateLine(double frameTimeMs);

// --- Drift ---
// The overlays are the only still parts of the picture: over hours they
// would mark an OLED panel. So they move, every minute, to a new offset of
// at most 1.5 % of the area's size in each direction, gliding there over
// two seconds. Offsets are never negative: the overlays are laid out in an
// area smaller by the range (DriftRange) and moved by the offset, so they
// never leave the area (the primary monitor).
struct OverlayOffset {
  float x = 0.0f;
  float y = 0.0f;
};
constexpr double kDriftEverySeconds = 60.0;
constexpr double kDriftGlideSeconds = 2.0;
// The most pixels the overlays move along a side `size` pixels long.
int32_t DriftRange(int32_t size);
// The offset at `seconds` since the drift began, over a width x height area.
OverlayOffset OverlayDrift(double seconds, int32_t width, int32_t height);

// "HH:MM", 24-hour; what the clock shows where the user's own format cannot
// be drawn by the overlay font (ASCII only).
std::string ClockLine(int32_t hour, int32_t minute);
// Whether the overlay font can draw every character of `text`: printable
// ASCII only, and something to draw.
bool DrawableByOverlayFont(const std::string& text);
// Program build only: the local time in the user's format without seconds,
// or ClockLine's where that format is not drawable.
std::string LocalClockLine();
