// A window whose procedure is bound to a C++ object: either a window created
// by the object (of a class registered with StaticWindowProc) or an existing
// control taken over by subclassing. The object's ProcessWindowMessage sees
// every message; unhandled ones go to the previous procedure (subclassed) or
// to DefWindowProcW.
// Depends on: message_map_win32.h.
#pragma once

#include "config/ui/message_map_win32.h"

class CWindowImpl : public CMessageMap {
 public:
  CWindowImpl() = default;
  CWindowImpl(const CWindowImpl&) = delete;
  CWindowImpl& operator=(const CWindowImpl&) = delete;
  // A window still bound at destruction is released (subclassed) or
  // destroyed (created), so no procedure is left pointing at a dead object.
  ~CWindowImpl() override;

  // Registers a window class whose procedure dispatches to bound objects.
  // Registering an existing name again succeeds.
  static bool RegisterWindowClass(const wchar_t* className, UINT classStyle, HCURSOR cursor,
                                  HBRUSH background);

  HWND Create(const wchar_t* className, HWND parent, const RECT& rect, const wchar_t* text, DWORD style,
              DWORD exStyle = 0, UINT_PTR idOrMenu = 0);
  bool SubclassWindow(HWND window);
  // Gives the window its previous procedure back; returns the window.
  HWND UnsubclassWindow();

  HWND Handle() const { return window_; }
  bool IsSubclassed() const { return previousProc_ != nullptr; }
  // The object bound to a window of this layer, or null.
  static CWindowImpl* FromHandle(HWND window);

  // Default processing of the current kind of window.
  LRESULT DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  // Called after WM_NCDESTROY, once the object is no longer bound.
  virtual void OnFinalMessage(HWND) {}

 private:
  void Bind(HWND window);
  HWND window_ = nullptr;
  WNDPROC previousProc_ = nullptr;
};
