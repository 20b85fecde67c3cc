// CHyperLink: a static text control turned into a web-style link. It draws
// its label underlined in the link colour (purple once visited), shows a hand
// cursor and a tooltip with the target, and opens the target through the
// shell when clicked. The user's Internet Explorer link colours, when set,
// replace the defaults.
//
// The control is subclassed with the common controls' SetWindowSubclass, so
// the object must outlive the window or be detached first (the destructor
// detaches).
#pragma once

#include <windows.h>

#include <string>

#include "engine/core/scoped_handle_win32.h"

class CHyperLink {
 public:
  CHyperLink() = default;
  ~CHyperLink();
  CHyperLink(const CHyperLink&) = delete;
  CHyperLink& operator=(const CHyperLink&) = delete;

  // Subclasses `control` and initialises the link; false when the control is
  // not a window or cannot be subclassed.
  bool SubclassWindow(HWND control);
  void Detach();

  // The address opened on click; the tooltip shows it.
  void SetHyperLink(const std::wstring& target);
  // The text shown; by default the control's own text.
  void SetLabel(const std::wstring& label);

  // Opens the target with the shell's "open" verb; on success marks the link
  // visited and repaints. A failure changes nothing and reports nothing.
  bool Navigate();

  // The colour the label is drawn in now.
  COLORREF CurrentColor() const { return visited ? visitedColor : linkColor; }

  HWND m_hWnd = nullptr;
  std::wstring label;
  std::wstring target;
  COLORREF linkColor = RGB(0, 0, 255);
  COLORREF visitedColor = RGB(128, 0, 128);
  bool visited = false;
  bool paintLabel = true;
  // 0: a click opens the target, nothing is sent to the owner.
  DWORD extendedStyle = 0;

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT HandleMessage(HWND, UINT, WPARAM, LPARAM, bool& handled);
  void Init();
  void ReadUserLinkColours();
  void UpdateTooltip();
  void Paint(HDC dc);

  HCURSOR handCursor = nullptr;
  ScopedGdiObject<HFONT> underlinedFont;
  HWND tooltip = nullptr;
  bool toolAdded = false;
};
