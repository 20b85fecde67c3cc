// The palette list binding: a combo box listing the store's palettes (item
// data = palette index, or -1 for an extra entry such as "Edit..."), kept in
// step with the store's current palette and with a gradient view.
#pragma once

#include <windows.h>

#include "palette/gradient_view.h"
#include "palette/palette_container.h"

// Empties the combo, adds every palette not named "Default" (any case) with
// its index, then `defaultLabel` with the index of the last "Default" palette
// (0 if there is none), then `extraLabel` with -1 when it is not null. The
// combo's own sort style decides the displayed order.
void FillPaletteCombo(HWND combo, const CPaletteContainerBase& container, const wchar_t* defaultLabel,
                      const wchar_t* extraLabel);

// With `commit`: stores the view's gradient (when a view is given) into the
// current palette, then makes the selected palette current; a selection of
// the extra entry, or none, stops here. Then selects the current palette's
// entry and shows its gradient in the view. `view` may be null.
void SyncPaletteCombo(HWND combo, CPaletteContainerBase& container, bool commit, IGradientView* view);

// Copies the gradient into the view and repaints it. `view` may be null.
void SetControlGradient(IGradientView* view, const CGradient& gradient);
