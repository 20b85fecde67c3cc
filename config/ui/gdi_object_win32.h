// The one-brush-for-every-colour fill the colour controls paint their
// swatches with. Owning GDI objects, DCs and selections is
// engine/core/scoped_handle_win32.h's.
// Depends on: <windows.h> and the scoped handles only.
#pragma once

#include <windows.h>

#include "engine/core/scoped_handle_win32.h"

// A monochrome pattern brush whose bits are all zero: it paints in the DC's
// text colour, so one brush fills any colour exactly (no dithering).
ScopedGdiObject<HBRUSH> MakePatternBrush();
// Fills `r` with exactly `colour` through such a brush; the DC's colours are
// left as they were.
void FillSolid(HDC dc, HBRUSH pattern, const RECT& r, COLORREF colour);
