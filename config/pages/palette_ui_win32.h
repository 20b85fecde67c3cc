// Palette helpers shared by the General and Video pages and the palette setup
// dialog: the "Delete" rule, the selected palette's name, and handing a
// gradient to the Life task as its colours.
#pragma once

#include <windows.h>

#include <string>

#include "palette/gradient.h"
#include "palette/gradient_view.h"
#include "palette/palette_container.h"

// The selected entry's text ("" without a selection).
std::wstring SelectedComboText(HWND combo);
// "Delete" is allowed unless the selected entry reads exactly "Default".
bool PaletteDeletable(HWND combo);
// The palette the store names current, or null.
const CGradient* CurrentGradient(const CPaletteContainerBase& store);
// What the user sees: the control's gradient (with any edits), or the current
// palette when no control is attached. Null when neither exists.
const CGradient* ShownGradient(const IGradientView* view, const CPaletteContainerBase& store);
// The running Life task takes `gradient`'s colours.
void RebuildColourTable(const CGradient& gradient);

// "Save as...": the shown gradient becomes a new palette named `name`, which
// is made current. The palette current before keeps its own gradient.
void AddShownPalette(CPaletteContainerBase& store, const IGradientView* view, const wchar_t* name);
// "Delete": removes the selected list entry's palette from `store` and makes
// the entry that takes its place current. False when nothing was removed
// (no selection, or an entry that is not a palette). The list must be
// refilled afterwards.
bool DeleteSelectedPalette(HWND combo, CPaletteContainerBase& store);
