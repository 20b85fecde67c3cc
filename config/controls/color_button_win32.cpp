// The colour button. Sections: attaching; messages; the picker; drawing.
#include "config/controls/color_button_win32.h"

#include <vssym32.h>

#include <string>

#include "config/controls/color_dialog_win32.h"
#include "config/controls/theme_library_win32.h"
#include "config/controls/window_dpi_win32.h"
#include "config/ui/gdi_object_win32.h"

// ---- attaching ----

CColorButton::CColorButton() : patternBrush_(MakePatternBrush()) {}

CColorButton::~CColorButton() {
  CloseTheme();
  if (Handle() != nullptr) Unsubclass();
}

bool CColorButton::Attach(HWND button) {
  if (!Subclass(button)) return false;
  LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
  if ((style & BS_TYPEMASK) != BS_OWNERDRAW)
    SetWindowLongPtrW(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
  dpi_ = WindowDpi(button);
  OpenTheme();
  InvalidateRect(button, nullptr, TRUE);
  return true;
}

void CColorButton::SetDpi(int32_t dpi) {
  dpi_ = dpi > 0 ? dpi : kDesignDpi;
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void CColorButton::OpenTheme() {
  CloseTheme();
  const ThemeLibrary& lib = ThemeLibrary::Get();
  if (lib.Available() && Handle() != nullptr) theme_.reset(lib.open(Handle(), L"BUTTON"));
}

void CColorButton::CloseTheme() {
  theme_.reset();
}

void CColorButton::SetColour(COLORREF colour) {
  colour_ = colour;
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void CColorButton::Notify(UINT code) {
  HWND parent = GetParent(Handle());
  if (parent == nullptr) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), code), reinterpret_cast<LPARAM>(Handle()));
}

// ---- messages ----

bool CColorButton::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case OCM_DRAWITEM:
      Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case OCM_COMMAND:
      switch (HIWORD(wParam)) {
        case BN_CLICKED:
          ShowPicker();
          break;
        case CLRN_DEFAULT:
          SetColour(defaultColour_);
          Notify(CLRN_CHANGED);
          break;
        case CLRN_CUSTOM: {
          CColorDialog dialog(colour_);
          if (dialog.DoModal(window) == IDOK) {
            SetColour(dialog.GetColour());
            Notify(CLRN_CHANGED);
          }
          break;
        }
        default:
          break;
      }
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        InvalidateRect(window, nullptr, FALSE);
      }
      return false;  // the button still tracks the pointer itself
    case WM_MOUSELEAVE:
      hot_ = false;
      InvalidateRect(window, nullptr, FALSE);
      return false;
    case WM_DPICHANGED_AFTERPARENT:
      SetDpi(WindowDpi(window));
      return false;
    case WM_THEMECHANGED:
      OpenTheme();
      InvalidateRect(window, nullptr, TRUE);
      return false;
    case WM_DESTROY:
      CloseTheme();
      return false;
    default:
      return false;
  }
}

// ---- the picker ----

void CColorButton::ShowPicker() {
  HWND button = Handle();
  CColorPicker picker;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
  if (!picker.CreatePopup(button, font)) return;
  picker.SetDpi(dpi_);

  int length = GetWindowTextLengthW(button);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(button, &text[0], length + 1)));
  std::wstring defaultText, customText;
  SplitPickerTexts(text, defaultText, customText);
  picker.SetTexts(defaultText, customText);
  picker.FillPalette();
  picker.SelectColour(colour_);

  RECT r;
  GetWindowRect(button, &r);
  SIZE size = picker.WindowSize();
  POINT preferred{(r.left + r.right) / 2 - size.cx / 2, r.bottom};
  openPicker_ = &picker;
  int32_t item = picker.RunPicker(preferred, r.top, button);
  openPicker_ = nullptr;
  if (!IsWindow(button)) return;
  SetFocus(button);

  const auto& items = picker.Items();
  if (item >= 0 && item < static_cast<int32_t>(items.size())) {
    SetColour(items[item].colour);
    Notify(CLRN_CHANGED);
  } else if (item == PICKER_DEFAULT) {
    Notify(CLRN_DEFAULT);
  } else if (item == PICKER_CUSTOM) {
    Notify(CLRN_CUSTOM);
  }
}

// ---- drawing ----

void CColorButton::Draw(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  RECT content = rect;

  if (theme_) {
    const ThemeLibrary& lib = ThemeLibrary::Get();
    int state = disabled ? PBS_DISABLED : pressed ? PBS_PRESSED : hot_ ? PBS_HOT : PBS_NORMAL;
    lib.drawParentBackground(item.hwndItem, dc, &rect);
    lib.drawBackground(theme_.get(), dc, BP_PUSHBUTTON, state, &rect, nullptr);
    lib.contentRect(theme_.get(), dc, BP_PUSHBUTTON, state, &rect, &content);
  } else {
    UINT state = DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0);
    DrawFrameControl(dc, &rect, DFC_BUTTON, state);
    InflateRect(&content, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
  }
  if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = content;
    InflateRect(&focus, -1, -1);
    DrawFocusRect(dc, &focus);
  }
  const int padding = ScaleToDpi(2, dpi_);
  InflateRect(&content, -padding, -padding);
  if (pressed && !theme_) OffsetRect(&content, 1, 1);

  // The drop-down arrow at the right, separated by an etched line: 5 by 3
  // pixels at 96 DPI, each row narrower by one pixel a side there.
  const int arrowWidth = ScaleToDpi(5, dpi_), arrowHeight = ScaleToDpi(3, dpi_), arrowMargin = ScaleToDpi(3, dpi_);
  RECT arrowArea = content;
  arrowArea.left = content.right - arrowWidth - 2 * arrowMargin;
  int ax = arrowArea.left + arrowMargin;
  int ay = (arrowArea.top + arrowArea.bottom - arrowHeight) / 2;
  auto drawArrow = [&](int x, int y, COLORREF colour) {
    ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    ScopedSelection selected(dc, pen.get());
    for (int row = 0; row < arrowHeight; ++row) {
      const int inset = arrowHeight > 1 ? row * (arrowWidth - 1) / (2 * (arrowHeight - 1)) : 0;
      MoveToEx(dc, x + inset, y + row, nullptr);
      LineTo(dc, x + arrowWidth - inset, y + row);
    }
  };
  if (disabled) {
    drawArrow(ax + 1, ay + 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    drawArrow(ax, ay, GetSysColor(COLOR_GRAYTEXT));
  } else {
    drawArrow(ax, ay, GetSysColor(COLOR_BTNTEXT));
  }
  RECT line{arrowArea.left - 2, content.top, arrowArea.left, content.bottom};
  DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);

  if (colour_ == CLR_NONE) return;
  RECT swatch{content.left, content.top, arrowArea.left - ScaleToDpi(4, dpi_), content.bottom};
  if (swatch.right <= swatch.left) return;
  COLORREF shown = colour_ == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : colour_;
  FillSolid(dc, patternBrush_.get(), swatch, shown);
  FrameRect(dc, &swatch, GetSysColorBrush(COLOR_BTNSHADOW));
}
