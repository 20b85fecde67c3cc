// What the pattern dialog decides without a window: the name of the file a
// pasted pattern is kept in, and whether a pattern fits a full screen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "pasted-<16 hex digits>.<extension>", the digits a 64-bit FNV-1a hash of
// `text`. Named by content so that pasting the same text again reuses its
// file, and a new paste never overwrites a file that a stored setting (or a
// sheet the user may still cancel) names.
std::string PastedPatternFileName(std::string_view text, std::string_view extension);

struct ScreenCells {
  int32_t columns = 0;
  int32_t rows = 0;
};

// The cells a screen of `width` x `height` pixels shows at `cellSize` pixels
// a cell (the field drops a partial cell at the edge).
ScreenCells CellsOnScreen(int32_t width, int32_t height, int32_t cellSize);
bool PatternFitsScreen(int32_t patternWidth, int32_t patternHeight, ScreenCells screen);
