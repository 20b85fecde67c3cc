// The gradient control ("WTLGradientCtrl"): shows a CGradient as a colour bar
// and, with GCS_PEGS_BEFORE and/or GCS_PEGS_AFTER, lets the mouse edit it:
// select a marker, drag a peg along the bar, drag it off the control to
// delete it, double-click the bar to add a peg, right-click a marker to
// recolour it through the colour picker. No keyboard interface.
// Every step is reported to the parent as WM_NOTIFY with a GradientNotify
// record; the parent can veto creating, recolouring and deleting by answering
// non-zero.
// Depends on: config/ui, gradient_layout.h, picker_wnd_win32.h,
// color_dialog_win32.h, palette/gradient.h and the palette list's
// IGradientView (gradient_view.h), which it implements.
#pragma once

#include <windows.h>

#include <string>

#include "config/logic/gradient_layout.h"
#include "config/controls/picker_wnd_win32.h"
#include "config/ui/window_impl_win32.h"
#include "config/controls/gradient_view.h"
#include "palette/gradient.h"

constexpr UINT GCN_PEGMOVED = 1;
constexpr UINT GCN_PEGDROPPED = 2;
constexpr UINT GCN_CREATEPEG = 3;
constexpr UINT GCN_EDITPEG = 4;
constexpr UINT GCN_PEGEDITED = 5;
constexpr UINT GCN_DELETEPEG = 6;
// Sent once a created peg is in the gradient, and once a deleted one is gone
// (the record then holds the peg as it was and the index it had): creating
// and deleting are asked before they happen, so an owner that follows the
// gradient needs these to see the result.
constexpr UINT GCN_PEGCREATED = 7;
constexpr UINT GCN_PEGDELETED = 8;

struct GradientNotify {
  NMHDR hdr;
  CPeg peg;
  int32_t index;
};

class CGradientCtrl : public CWindowImpl, public IGradientView {
 public:
  static constexpr const wchar_t* kClassName = L"WTLGradientCtrl";

  CGradientCtrl();
  ~CGradientCtrl() override;

  // Registers "WTLGradientCtrl" so dialog templates can place the control;
  // the object is then attached to the template's window.
  static bool RegisterControlClass();
  HWND Create(HWND parent, const RECT& rect, DWORD style, UINT id);
  // Takes over an existing control window and applies its style's orientation.
  bool Attach(HWND window);
  void ApplyOrientationFromStyle();

  // Copies the gradient in (CopyFrom); the caller repaints (Invalidate).
  void SetGradient(const CGradient& gradient) override;
  CGradient& GetGradient() { return gradient_; }
  const CGradient& GetGradient() const override { return gradient_; }
  void Invalidate() override { Redraw(); }

  int32_t GetOrientation() const { return orientation_; }
  bool IsHorizontal() const;
  int32_t GetSelectedPeg() const { return selectedPeg_; }
  void SetSelectedPeg(int32_t index);
  int32_t GetDraggedPeg() const { return draggedPeg_; }

  const std::wstring& GetCustomText() const { return customText_; }
  void SetCustomText(const std::wstring& text);
  // Fixing a colour ends its following of the system colours.
  void SetBackgroundColour(COLORREF colour);
  COLORREF GetBackgroundColour() const { return background_.colour; }
  COLORREF GetOutlineColour() const { return outline_.colour; }
  COLORREF GetSelectionColour() const { return selection_.colour; }

  // Pixel measures follow this DPI; attaching or creating reads the window's.
  void SetDpi(int32_t dpi);
  int32_t GetDpi() const { return dpi_; }

  // The geometry for the current size, style, pegs and DPI.
  const GradientLayout& CurrentLayout();
  // The recolour picker while it is open, else null.
  CPickerWnd* OpenPicker() const { return openPicker_; }

  // Paints the whole client area into `dc` through a memory bitmap.
  void Paint(HDC dc);

  bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;

 private:
  struct SystemColour {
    int index;
    COLORREF colour;
    bool automatic = true;
  };
  bool EditingEnabled() const;
  LRESULT SendNotify(UINT code, const CPeg& peg, int32_t index);
  void Redraw();
  void DrawMarker(HDC dc, const GradientMarker& marker);
  void DrawBar(HDC dc);
  void EndDrag();
  void OnLeftButtonDown(ScreenPoint p);
  void OnMouseMove(ScreenPoint p);
  void OnLeftButtonUp(ScreenPoint p);
  void OnDoubleClick(ScreenPoint p);
  void OnRightButtonUp(ScreenPoint p);
  void Recolour(int32_t pegIndex, POINT screenCorner);
  void ReadSystemColours();

  CGradient gradient_;
  int32_t orientation_ = kGradientAutomatic;
  int32_t selectedPeg_ = PEG_NONE;
  int32_t draggedPeg_ = PEG_NONE;
  std::wstring customText_ = L"Custom";
  GradientLayout layout_;
  SystemColour background_{COLOR_BTNFACE, 0};
  SystemColour outline_{COLOR_BTNSHADOW, 0};
  SystemColour selection_{COLOR_BTNTEXT, 0};
  HFONT font_ = nullptr;
  int32_t dpi_ = kDesignDpi;
  CPickerWnd* openPicker_ = nullptr;
};
