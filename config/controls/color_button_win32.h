// A push button that shows a colour and drops down the colour picker. It is
// attached to an existing button (forced to owner draw) and needs its parent
// to reflect WM_COMMAND and WM_DRAWITEM back to it (ReflectNotifications):
// it draws itself from the reflected WM_DRAWITEM, opens the picker on the
// reflected click and handles its own CLRN_DEFAULT and CLRN_CUSTOM when they
// come back. The button text "ignored\ndefault text\ncustom text\n" names the
// picker's two entries.
// Depends on: config/ui, picker_wnd_win32.h, color_dialog_win32.h.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include "config/controls/picker_wnd_win32.h"
#include "config/controls/theme_library_win32.h"
#include "config/ui/window_impl_win32.h"
#include "engine/core/scoped_handle_win32.h"

constexpr UINT CLRN_CHANGED = 11;
constexpr UINT CLRN_DEFAULT = 12;
constexpr UINT CLRN_CUSTOM = 13;

class CColorButton : public CWindowImpl {
 public:
  CColorButton();
  ~CColorButton() override;

  // Subclasses the button, makes it owner-drawn and opens the "BUTTON" theme
  // when the theme library is present and a theme is active.
  bool Attach(HWND button);

  COLORREF GetColour() const { return colour_; }
  void SetColour(COLORREF colour);
  COLORREF GetDefaultColour() const { return defaultColour_; }
  void SetDefaultColour(COLORREF colour) { defaultColour_ = colour; }
  bool IsHot() const { return hot_; }
  bool IsThemed() const { return static_cast<bool>(theme_); }

  // The arrow, margins and picker follow this DPI; attaching reads the window's.
  void SetDpi(int32_t dpi);
  int32_t GetDpi() const { return dpi_; }

  // The picker while it is open (for keyboard and mouse driving), else null.
  CPickerWnd* OpenPicker() const { return openPicker_; }

  bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;

  // Draws the button as for WM_DRAWITEM.
  void Draw(const DRAWITEMSTRUCT& item);

 private:
  void ShowPicker();
  void Notify(UINT code);
  void OpenTheme();
  void CloseTheme();

  COLORREF colour_ = CLR_NONE;
  COLORREF defaultColour_ = CLR_NONE;
  bool hot_ = false;
  int32_t dpi_ = kDesignDpi;
  ScopedHandle<ThemeHandleTraits> theme_;
  ScopedGdiObject<HBRUSH> patternBrush_;
  CPickerWnd* openPicker_ = nullptr;
};
