#include "config/ui/gdi_object_win32.h"

ScopedGdiObject<HBRUSH> MakePatternBrush() {
  static const WORD zeros[8] = {};
  ScopedGdiObject<HBITMAP> bits(CreateBitmap(8, 8, 1, 1, zeros));
  // The brush keeps its own copy of the bits.
  return ScopedGdiObject<HBRUSH>(CreatePatternBrush(bits.get()));
}

void FillSolid(HDC dc, HBRUSH pattern, const RECT& r, COLORREF colour) {
  COLORREF oldText = SetTextColor(dc, colour);
  COLORREF oldBack = SetBkColor(dc, colour);
  FillRect(dc, &r, pattern);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
}
