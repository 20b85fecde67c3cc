// The picker window. Sections: creation and layout; the message loop; input;
// drawing.
#include "config/controls/picker_wnd_win32.h"

#include <windowsx.h>

#include "config/controls/window_dpi_win32.h"
#include "config/ui/gdi_object_win32.h"
#include "engine/core/scoped_handle_win32.h"

namespace {
const wchar_t kPickerClass[] = L"PickerWnd";
constexpr DWORD kPickerStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kPickerExStyle = WS_EX_TOOLWINDOW;

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
}  // namespace

// ---- creation and layout ----

CPickerWnd::CPickerWnd() : patternBrush_(MakePatternBrush()) {}

CPickerWnd::~CPickerWnd() {
  if (Handle() != nullptr) DestroyWindow(Handle());
}

bool CPickerWnd::RegisterPickerClass() {
  return RegisterWindowClass(kPickerClass, 0, LoadCursorW(nullptr, IDC_ARROW),
                             reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

bool CPickerWnd::CreatePopup(HWND owner, HFONT font) {
  if (!RegisterPickerClass()) return false;
  owner_ = owner;
  font_ = font;
  dpi_ = WindowDpi(owner);
  RECT r{0, 0, 10, 10};
  return Create(kPickerClass, owner, r, L"", kPickerStyle, kPickerExStyle) != nullptr;
}

void CPickerWnd::SetDpi(int32_t dpi) { dpi_ = dpi > 0 ? dpi : kDesignDpi; }

void CPickerWnd::SetTexts(const std::wstring& defaultText, const std::wstring& customText) {
  defaultText_ = defaultText;
  customText_ = customText;
  Layout();
}

void CPickerWnd::FillPalette() {
  // Redraw is switched back on through WM_SETREDRAW TRUE, which also sets
  // WS_VISIBLE: on a popup that is not shown yet it would appear at its
  // creation place before it is moved under its anchor. Hidden, it paints
  // nothing anyway.
  const bool shown = Handle() != nullptr && IsWindowVisible(Handle());
  if (shown) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  items_.clear();
  selected_ = -1;
  hot_ = -1;
  rows_ = kPickerRows;
  columns_ = kPickerColumns;
  cellWidth_ = ScaleToDpi(kPickerCellSize, dpi_);
  cellHeight_ = ScaleToDpi(kPickerCellSize, dpi_);
  Layout();
  for (uint32_t colour : kPickerPalette) items_.push_back({L"", colour});
  if (shown) SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void CPickerWnd::SelectColour(COLORREF colour) {
  std::vector<uint32_t> cells;
  for (const PickerItem& item : items_) cells.push_back(item.colour);
  int32_t item = PickerItemForColour(colour, cells.data(), CellCount());
  // An entry that is hidden cannot be the selection.
  if ((item == PICKER_DEFAULT && defaultText_.empty()) || (item == PICKER_CUSTOM && customText_.empty())) item = -1;
  SetSelected(item);
}

void CPickerWnd::SetSelected(int32_t item) {
  InvalidateItem(selected_);
  selected_ = item;
  InvalidateItem(selected_);
}

void CPickerWnd::Layout() {
  TEXTMETRICW tm{};
  {
    const ScopedWindowDc dc(GetDC(Handle()), WindowDcTraits(Handle()));
    ScopedSelection font(dc.get(), font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    GetTextMetricsW(dc.get(), &tm);
  }
  const int32_t textHeight = tm.tmHeight + tm.tmExternalLeading + 5;
  const int32_t cx = GetSystemMetrics(SM_CXEDGE);
  const int32_t cy = GetSystemMetrics(SM_CYEDGE);
  const int32_t areaWidth = columns_ * cellWidth_;
  const int32_t areaHeight = rows_ * cellHeight_;

  int32_t top = cy;
  defaultRect_ = RECT{};
  customRect_ = RECT{};
  if (!defaultText_.empty()) {
    defaultRect_ = {cx, top, cx + areaWidth, top + textHeight};
    top = defaultRect_.bottom + cy;
  }
  cellArea_ = {cx, top, cx + areaWidth, top + areaHeight};
  int32_t bottom = cellArea_.bottom;
  if (!customText_.empty()) {
    customRect_ = {cx, bottom + cy, cx + areaWidth, bottom + cy + textHeight};
    bottom = customRect_.bottom;
  }
  RECT window{0, 0, areaWidth + 2 * cx, bottom + cy};
  AdjustWindowRectEx(&window, kPickerStyle, FALSE, kPickerExStyle);
  windowSize_ = {window.right - window.left, window.bottom - window.top};
  if (Handle())
    SetWindowPos(Handle(), nullptr, 0, 0, windowSize_.cx, windowSize_.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT CPickerWnd::ItemRect(int32_t item) const {
  if (item == PICKER_DEFAULT) return defaultRect_;
  if (item == PICKER_CUSTOM) return customRect_;
  if (item < 0 || item >= CellCount()) return RECT{};
  int32_t row = item / columns_, column = item % columns_;
  RECT r;
  r.left = cellArea_.left + column * cellWidth_;
  r.top = cellArea_.top + row * cellHeight_;
  r.right = r.left + cellWidth_;
  r.bottom = r.top + cellHeight_;
  return r;
}

int32_t CPickerWnd::HitTest(POINT p) const {
  if (!IsEmpty(defaultRect_) && PtInRect(&defaultRect_, p)) return PICKER_DEFAULT;
  if (!IsEmpty(customRect_) && PtInRect(&customRect_, p)) return PICKER_CUSTOM;
  if (!PtInRect(&cellArea_, p)) return -1;
  int32_t column = (p.x - cellArea_.left) / cellWidth_;
  int32_t row = (p.y - cellArea_.top) / cellHeight_;
  int32_t index = row * columns_ + column;
  return index < CellCount() ? index : -1;
}

void CPickerWnd::Notify(UINT code) {
  if (owner_ == nullptr) return;
  SendMessageW(owner_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), code), reinterpret_cast<LPARAM>(Handle()));
}

void CPickerWnd::InvalidateItem(int32_t item) {
  if (Handle() == nullptr) return;
  RECT r = ItemRect(item);
  if (!IsEmpty(r)) InvalidateRect(Handle(), &r, FALSE);
}

// The item under the pointer is drawn highlighted: both it and the one it
// takes over from are drawn again.
void CPickerWnd::SetHot(int32_t item) {
  if (item == hot_) return;
  InvalidateItem(hot_);
  hot_ = item;
  InvalidateItem(hot_);
}

// ---- the message loop ----

int32_t CPickerWnd::RunPicker(POINT preferred, LONG aboveBottom, HWND anchorWindow) {
  if (Handle() == nullptr) return -1;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromWindow(anchorWindow ? anchorWindow : Handle(), MONITOR_DEFAULTTONEAREST), &info);
  ScreenRect work{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
  ScreenPoint p = PlacePopup(windowSize_.cx, windowSize_.cy, {preferred.x, preferred.y}, aboveBottom, work);
  SetWindowPos(Handle(), HWND_TOPMOST, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  return RunLoop();
}

bool CPickerWnd::IsInside(const MSG& msg) const {
  POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  bool clientMessage = msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_LBUTTONUP;
  // Client messages carry client coordinates of their window; non-client
  // ones carry screen coordinates.
  if (clientMessage) {
    if (msg.hwnd == nullptr) return false;
    ClientToScreen(msg.hwnd, &p);
  }
  RECT window;
  GetWindowRect(Handle(), &window);
  return PtInRect(&window, p) != FALSE;
}

int32_t CPickerWnd::RunLoop() {
  HWND self = Handle();
  if (self == nullptr) return -1;
  ShowWindow(self, SW_SHOW);
  auto hide = [self] { ShowWindow(self, SW_HIDE); };
  auto selectedCell = [this] { return selected_ >= 0 && selected_ < CellCount() ? selected_ : -1; };
  int32_t result = -1;
  MSG msg;
  while (IsWindow(self) && IsWindowVisible(self)) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) continue;
    if (got == 0) {
      // The application is quitting: hand the quit on to the outer loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      hide();
      return -1;
    }
    switch (msg.message) {
      case WM_LBUTTONDOWN:
      case WM_NCLBUTTONDOWN:
        if (!IsInside(msg)) {
          hide();
          return selectedCell();
        }
        break;
      case WM_RBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
        if (!IsInside(msg)) {
          hide();
          return -1;
        }
        continue;
      case WM_LBUTTONDBLCLK:
      case WM_NCLBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_NCRBUTTONDBLCLK:
      case WM_MBUTTONDOWN:
      case WM_NCMBUTTONDOWN:
      case WM_MBUTTONDBLCLK:
      case WM_NCMBUTTONDBLCLK:
        continue;
      case WM_KEYDOWN:
        if (msg.wParam == VK_TAB || msg.wParam == VK_RETURN) {
          hide();
          return selected_;
        }
        if (msg.wParam == VK_ESCAPE) {
          hide();
          return -1;
        }
        msg.hwnd = self;
        break;
      case WM_SYSKEYDOWN:
        hide();
        return -1;
      case WM_MOUSEWHEEL:
      case WM_KEYUP:
      case WM_CHAR:
      case WM_SYSKEYUP:
      case WM_SYSCHAR:
        msg.hwnd = self;
        break;
      default:
        break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (msg.message == WM_LBUTTONUP && msg.hwnd == self) {
      POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
      int32_t item = HitTest(p);
      if (item != -1) {
        hide();
        return item;
      }
    }
  }
  return result;
}

// ---- input ----

bool CPickerWnd::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      SetFocus(window);
      SetCapture(window);
      pressed_ = true;
      SetHot(HitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
      result = 0;
      return true;
    }
    case WM_LBUTTONUP: {
      if (!pressed_) return false;
      pressed_ = false;
      ReleaseCapture();
      int32_t item = HitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (item == PICKER_DEFAULT) {
        Notify(PKN_DEFAULT);
      } else if (item == PICKER_CUSTOM) {
        Notify(PKN_CUSTOM);
      } else if (item >= 0 && item != selected_) {
        SetSelected(item);
        Notify(PKN_SELCHANGE);
      }
      result = 0;
      return true;
    }
    case WM_MOUSEMOVE: {
      if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
      }
      SetHot(HitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
      result = 0;
      return true;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      SetHot(-1);
      result = 0;
      return true;
    case WM_KEYDOWN: {
      if (pressed_) return false;
      PickerKey key;
      switch (wParam) {
        case VK_LEFT: key = PickerKey::Left; break;
        case VK_RIGHT: key = PickerKey::Right; break;
        case VK_UP: key = PickerKey::Up; break;
        case VK_DOWN: key = PickerKey::Down; break;
        case VK_HOME: key = PickerKey::Home; break;
        case VK_END: key = PickerKey::End; break;
        default: return false;
      }
      int32_t next = NavigatePicker(selected_, key, CellCount(), columns_);
      if (next != selected_) {
        SetSelected(next);
        Notify(PKN_SELCHANGE);
      }
      result = 0;
      return true;
    }
    case WM_GETDLGCODE:
      result = DLGC_WANTARROWS;
      return true;
    case WM_ERASEBKGND:
      result = 1;  // the paint covers everything
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(dc);
      EndPaint(window, &ps);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      result = 0;
      return true;
    default:
      return false;
  }
}

// ---- drawing ----

void CPickerWnd::DrawEntry(HDC dc, int32_t item, const std::wstring& text, const RECT& r) {
  const bool enabled = IsWindowEnabled(Handle()) != FALSE;
  COLORREF fill = GetSysColor(COLOR_WINDOW);
  if (!enabled)
    fill = GetSysColor(COLOR_BTNFACE);
  else if (item == hot_)
    fill = GetSysColor(COLOR_HIGHLIGHT);
  else if (item == selected_)
    fill = PickerTint(GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_HIGHLIGHT));
  FillSolid(dc, patternBrush_.get(), r, fill);
  FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));

  ScopedSelection font(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT textRect = r;
  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
  if (!enabled) {
    // Embossed: a highlight copy one pixel down-right under the grey text.
    OffsetRect(&textRect, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(dc, text.c_str(), -1, &textRect, format);
    OffsetRect(&textRect, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  } else {
    SetTextColor(dc, GetSysColor(item == hot_ ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  }
  DrawTextW(dc, text.c_str(), -1, &textRect, format);
  SetBkMode(dc, oldMode);
}

void CPickerWnd::Paint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  const bool enabled = IsWindowEnabled(Handle()) != FALSE;
  FillSolid(dc, patternBrush_.get(), client, GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
  if (!defaultText_.empty()) DrawEntry(dc, PICKER_DEFAULT, defaultText_, defaultRect_);
  if (!customText_.empty()) DrawEntry(dc, PICKER_CUSTOM, customText_, customRect_);

  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF tint = PickerTint(GetSysColor(COLOR_WINDOW), highlight);
  for (int32_t i = 0; i < CellCount(); ++i) {
    RECT cell = ItemRect(i);
    if (i == hot_ || i == selected_) {
      FillSolid(dc, patternBrush_.get(), cell, i == hot_ ? highlight : tint);
      ScopedGdiObject<HBRUSH> frame(CreateSolidBrush(highlight));
      FrameRect(dc, &cell, frame.get());
    }
    DrawItem(dc, i, cell);
  }
}

void CPickerWnd::DrawItem(HDC dc, int32_t index, const RECT& cell) {
  ScopedSelection font(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT r = cell;
  DrawTextW(dc, items_[index].text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetBkMode(dc, oldMode);
}

void CColorPicker::DrawItem(HDC dc, int32_t index, const RECT& cell) {
  RECT swatch = cell;
  const int inset = ScaleToDpi(kPickerSwatchInset, GetDpi());
  InflateRect(&swatch, -inset, -inset);
  FillSolid(dc, PatternBrush(), swatch, Items()[index].colour);
  FrameRect(dc, &swatch, GetSysColorBrush(COLOR_BTNSHADOW));
}
