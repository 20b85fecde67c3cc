#include "config/controls/hyperlink_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include "config/logic/anchor_colour.h"

namespace {
constexpr UINT_PTR kSubclassId = 0x4C4B;  // any id unique on the control
const wchar_t kExplorerSettingsKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";

bool ReadColourValue(HKEY key, const wchar_t* name, COLORREF& colour) {
  wchar_t text[64] = {};
  DWORD type = 0, bytes = sizeof(text) - sizeof(wchar_t);
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  std::u16string value;
  for (DWORD i = 0; i < bytes / sizeof(wchar_t) && text[i] != 0; ++i) value.push_back(static_cast<char16_t>(text[i]));
  uint32_t parsed = 0;
  if (!ParseAnchorColour(value, parsed)) return false;
  colour = parsed;
  return true;
}

// Static styles that show no text: the link keeps its behaviour but is not
// painted as a link.
bool StaticDrawsText(DWORD style) {
  switch (style & SS_TYPEMASK) {
    case SS_LEFT: case SS_CENTER: case SS_RIGHT: case SS_SIMPLE: case SS_LEFTNOWORDWRAP:
      return true;
    default:
      return false;
  }
}
}  // namespace

CHyperLink::~CHyperLink() { Detach(); }

bool CHyperLink::SubclassWindow(HWND control) {
  if (m_hWnd != nullptr || !IsWindow(control)) return false;
  if (!SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
  m_hWnd = control;
  Init();
  return true;
}

void CHyperLink::Detach() {
  if (m_hWnd != nullptr) {
    RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
    m_hWnd = nullptr;
  }
  if (tooltip != nullptr) {
    DestroyWindow(tooltip);
    tooltip = nullptr;
  }
  toolAdded = false;
  underlinedFont.reset();
}

void CHyperLink::Init() {
  wchar_t className[16] = {};
  GetClassNameW(m_hWnd, className, 16);
  if (lstrcmpiW(className, L"static") == 0) {
    const LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, style | SS_NOTIFY);
    if (!StaticDrawsText(static_cast<DWORD>(style))) paintLabel = false;
  }
  handCursor = LoadCursorW(nullptr, IDC_HAND);
  if (paintLabel) {
    HWND parent = GetParent(m_hWnd);
    HFONT font = parent != nullptr ? reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
    if (font == nullptr) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTW lf = {};
    GetObjectW(font, sizeof(lf), &lf);
    lf.lfUnderline = TRUE;
    underlinedFont.reset(CreateFontIndirectW(&lf));
  }
  tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, nullptr, nullptr);
  if (label.empty()) {
    const int length = GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(m_hWnd, text.data(), length + 1)));
    label = text;
  }
  UpdateTooltip();
  if (paintLabel) ReadUserLinkColours();
  InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CHyperLink::ReadUserLinkColours() {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kExplorerSettingsKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) return;
  const ScopedRegKey key(opened);
  ReadColourValue(key.get(), L"Anchor Color", linkColor);
  ReadColourValue(key.get(), L"Anchor Color Visited", visitedColor);
}

void CHyperLink::UpdateTooltip() {
  if (tooltip == nullptr || m_hWnd == nullptr) return;
  // The tooltip shows the target, or the label while no target is set.
  std::wstring tip = target.empty() ? label : target;
  TOOLINFOW info = {};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_SUBCLASS;
  info.hwnd = m_hWnd;
  info.uId = 1;
  GetClientRect(m_hWnd, &info.rect);
  info.lpszText = tip.data();
  if (!toolAdded) {
    toolAdded = SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
  } else {
    SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

void CHyperLink::SetHyperLink(const std::wstring& address) {
  target = address;
  UpdateTooltip();
}

void CHyperLink::SetLabel(const std::wstring& text) {
  label = text;
  if (m_hWnd != nullptr) {
    UpdateTooltip();
    InvalidateRect(m_hWnd, nullptr, TRUE);
  }
}

bool CHyperLink::Navigate() {
  const std::wstring& address = target.empty() ? label : target;
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) <= 32) return false;
  visited = true;
  if (m_hWnd != nullptr) InvalidateRect(m_hWnd, nullptr, TRUE);
  return true;
}

void CHyperLink::Paint(HDC dc) {
  RECT rect;
  GetClientRect(m_hWnd, &rect);
  // The parent chooses the background, as for any static control.
  HWND parent = GetParent(m_hWnd);
  HBRUSH background = parent != nullptr
      ? reinterpret_cast<HBRUSH>(SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(m_hWnd)))
      : nullptr;
  FillRect(dc, &rect, background != nullptr ? background : GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, CurrentColor());
  ScopedSelection font(dc, underlinedFont.get());
  const LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER;
  if ((style & SS_TYPEMASK) == SS_CENTER) format |= DT_CENTER;
  if ((style & SS_TYPEMASK) == SS_RIGHT) format |= DT_RIGHT;
  DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &rect, format);
}

LRESULT CHyperLink::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_PAINT:
      if (paintLabel) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        Paint(dc);
        EndPaint(window, &ps);
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (paintLabel) {
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      if (paintLabel) return 1;
      break;
    case WM_SETCURSOR:
      if (handCursor != nullptr) {
        SetCursor(handCursor);
        return TRUE;
      }
      break;
    case WM_LBUTTONUP: {
      POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      RECT rect;
      GetClientRect(window, &rect);
      if (PtInRect(&rect, p)) Navigate();
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_SPACE) {
        Navigate();
        return 0;
      }
      break;
    case WM_SIZE:
      UpdateTooltip();
      break;
    case WM_NCDESTROY: {
      // The window goes first: drop everything tied to it.
      RemoveWindowSubclass(window, SubclassProc, kSubclassId);
      m_hWnd = nullptr;
      LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      Detach();
      return result;
    }
    default:
      break;
  }
  handled = false;
  return 0;
}

LRESULT CALLBACK CHyperLink::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
  bool handled = false;
  LRESULT result = reinterpret_cast<CHyperLink*>(self)->HandleMessage(window, message, wParam, lParam, handled);
  return handled ? result : DefSubclassProc(window, message, wParam, lParam);
}
