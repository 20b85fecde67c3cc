// The palette list shared by the General and Video pages and the palette
// setup dialog: a combo box listing a store's palettes (item data = palette
// index, or -1 for an extra entry such as "Edit..."), kept in step with the
// store's current palette and with the gradient view that shows it; "Save
// as...", "Delete" and its rule; and the running Life task's colours, which
// follow the current palette of the process-wide store.
#pragma once

#include <windows.h>

#include <string>

#include "config/controls/gradient_view.h"
#include "palette/palette_container.h"

// --- The list over a store ---

// Empties the combo, adds every palette not named "Default" (any case) with
// its index, then `defaultLabel` with the index of the last "Default" palette
// (0 if there is none), then `extraLabel` with -1 when it is not null. The
// combo's own sort style decides the displayed order; the open list is made
// wide enough for the longest entry.
void FillPaletteCombo(HWND combo, const CPaletteContainerBase& container, const wchar_t* defaultLabel,
                      const wchar_t* extraLabel);

// With `commit`: stores the view's gradient (when a view is given) into the
// current palette, then makes the selected palette current; a selection of
// the extra entry, or none, stops here. Then selects the current palette's
// entry and shows its gradient in the view. `view` may be null.
void SyncPaletteCombo(HWND combo, CPaletteContainerBase& container, bool commit, IGradientView* view);

// Copies the gradient into the view and repaints it. `view` may be null.
void SetControlGradient(IGradientView* view, const CGradient& gradient);

// The selected entry's text ("" without a selection).
std::wstring SelectedComboText(HWND combo);
// A closed list cuts a long name at its edge: the selected entry's whole text
// when it is wider than the closed list shows, "" when it fits.
std::wstring ClosedComboTip(HWND combo);
// A tooltip over `combo` (a child of `page`) whose text the page supplies
// through AnswerClosedComboTip; destroyed with the page. Null when the
// tooltip could not be made.
HWND AttachClosedComboTip(HWND page, HWND combo);
// Answers the tooltip's TTN_GETDISPINFOW for `combo` with ClosedComboTip,
// kept alive in `text`; false for any other notification.
bool AnswerClosedComboTip(const NMHDR& header, HWND combo, std::wstring& text);
// "Delete" is allowed for a selected entry that stands for a palette of
// `store` other than the built-in "Default". The entry's palette decides, not
// its text: the built-in one is shown under a translated label, and a user's
// palette may carry any name, that label included.
bool PaletteDeletable(HWND combo, const CPaletteContainerBase& store);
// The palette the store names current, or null.
const CGradient* CurrentGradient(const CPaletteContainerBase& store);
// What the user sees: the control's gradient (with any edits), or the current
// palette when no control is attached. Null when neither exists.
const CGradient* ShownGradient(const IGradientView* view, const CPaletteContainerBase& store);

// "Save as...": the shown gradient becomes a new palette named `name`, which
// is made current. The palette current before keeps its own gradient.
void AddShownPalette(CPaletteContainerBase& store, const IGradientView* view, const wchar_t* name);
// "Delete": removes the selected list entry's palette from `store` and makes
// the entry that takes its place current. False when nothing was removed
// (no selection, or an entry that is not a palette). The list must be
// refilled afterwards.
bool DeleteSelectedPalette(HWND combo, CPaletteContainerBase& store);

// --- The running Life task's colours ---

// The running Life task takes `gradient`'s colours.
void RebuildColourTable(const CGradient& gradient);
// The running Life task takes the colours of the store's current palette;
// without one it keeps its table.
void ApplyCurrentPalette(const CPaletteContainerBase& store);
// The list's selection becomes the store's current palette (a palette without
// a GUID never does) and the running task's colours. The view is left alone:
// the caller shows the current palette afterwards.
void ChooseListedPalette(HWND combo, CPaletteContainerBase& store);
// An in-place edit: the store's current palette takes the shown gradient and
// the running task its colours.
void ApplyEditedGradient(CPaletteContainerBase& store, const CGradient& shown);
