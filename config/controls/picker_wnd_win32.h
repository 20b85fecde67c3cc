// The drop-down colour palette: a bordered tool window of class "PickerWnd"
// with a grid of cells, an optional "default" entry above and an optional
// "custom" entry below, and its own message loop that ends on a choice, on a
// click outside or on a key. CColorPicker draws the cells as colour swatches.
// Notifications (WM_COMMAND to the owner, the picker window as source):
// PKN_SELCHANGE, PKN_DEFAULT, PKN_CUSTOM.
// Depends on: config/ui (window objects, GDI objects), picker_logic.h.
#pragma once

#include <string>
#include <vector>

#include "config/logic/dpi_scale.h"
#include "config/logic/picker_logic.h"
#include "config/ui/window_impl_win32.h"
#include "engine/core/scoped_handle_win32.h"

constexpr UINT PKN_SELCHANGE = 1;
constexpr UINT PKN_DEFAULT = 2;
constexpr UINT PKN_CUSTOM = 3;

struct PickerItem {
  std::wstring text;
  COLORREF colour = 0;
};

class CPickerWnd : public CWindowImpl {
 public:
  CPickerWnd();
  ~CPickerWnd() override;

  static bool RegisterPickerClass();
  // Creates the hidden popup; `owner` receives the notifications.
  bool CreatePopup(HWND owner, HFONT font);

  // Cells and swatches are scaled to this DPI from the next FillPalette on;
  // CreatePopup takes the owner's.
  void SetDpi(int32_t dpi);
  int32_t GetDpi() const { return dpi_; }
  // Texts of the two entries; an empty text hides its entry.
  void SetTexts(const std::wstring& defaultText, const std::wstring& customText);
  // The 40 colours, 8 columns by 5 rows of 18 x 18 pixels at 96 DPI;
  // nothing selected.
  void FillPalette();
  void SelectColour(COLORREF colour);
  void SetSelected(int32_t item);
  int32_t GetSelected() const { return selected_; }
  int32_t GetHot() const { return hot_; }
  const std::vector<PickerItem>& Items() const { return items_; }
  int32_t Rows() const { return rows_; }
  int32_t Columns() const { return columns_; }

  // Client-coordinate rectangle of a cell, of PICKER_DEFAULT or of
  // PICKER_CUSTOM; empty for anything else or a hidden entry.
  RECT ItemRect(int32_t item) const;
  int32_t HitTest(POINT client) const;
  SIZE WindowSize() const { return windowSize_; }

  // Places the popup with its top-left corner at `preferred` (screen), kept
  // inside the work area of the monitor of `anchorWindow`, above at
  // `aboveBottom` when it would pass the bottom; then runs the loop.
  // Returns the chosen item or -1.
  int32_t RunPicker(POINT preferred, LONG aboveBottom, HWND anchorWindow);
  // The loop alone on a placed popup.
  int32_t RunLoop();

  bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;

  // Paints the whole client area into `dc` (also for WM_PRINTCLIENT).
  void Paint(HDC dc);

 protected:
  // Draws one cell's content; the selection frame is already drawn.
  virtual void DrawItem(HDC dc, int32_t index, const RECT& cell);
  HBRUSH PatternBrush() const { return patternBrush_.get(); }

 private:
  void Layout();
  void Notify(UINT code);
  void InvalidateItem(int32_t item);
  void SetHot(int32_t item);
  void DrawEntry(HDC dc, int32_t item, const std::wstring& text, const RECT& r);
  bool IsInside(const MSG& msg) const;
  int32_t CellCount() const { return static_cast<int32_t>(items_.size()); }

  std::vector<PickerItem> items_;
  int32_t selected_ = -1;
  int32_t hot_ = -1;
  int32_t rows_ = 4;
  int32_t columns_ = 4;
  int32_t cellWidth_ = 32;
  int32_t cellHeight_ = 32;
  RECT cellArea_{};
  RECT defaultRect_{};
  RECT customRect_{};
  SIZE windowSize_{};
  std::wstring defaultText_;
  std::wstring customText_;
  bool pressed_ = false;
  bool tracking_ = false;
  HWND owner_ = nullptr;
  HFONT font_ = nullptr;
  int32_t dpi_ = kDesignDpi;
  ScopedGdiObject<HBRUSH> patternBrush_;
};

class CColorPicker : public CPickerWnd {
 protected:
  void DrawItem(HDC dc, int32_t index, const RECT& cell) override;
};
