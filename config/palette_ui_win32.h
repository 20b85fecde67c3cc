// Palette helpers shared by the General and Video pages and the palette setup
// dialog: the "Delete" rule, the selected palette's name, and rebuilding the
// Life task's colour table from a gradient.
#pragma once

#include <windows.h>

#include <string>

#include "palette/gradient.h"
#include "palette/palette_container.h"

// Entries in the Life task's colour table built from a palette.
constexpr int32_t kColourTableEntries = 1000;

// The selected entry's text ("" without a selection).
std::wstring SelectedComboText(HWND combo);
// "Delete" is allowed unless the selected entry reads exactly "Default".
bool PaletteDeletable(HWND combo);
// The palette the store names current, or null.
const CGradient* CurrentGradient(const CPaletteContainerBase& store);
// Rebuilds the running Life task's colour table from `gradient`.
void RebuildColourTable(const CGradient& gradient);
