// Binding of window objects to their windows. The object is kept in a window
// property; a window created by Create is bound on its very first message
// (WM_GETMINMAXINFO comes before WM_NCCREATE) through a per-thread pointer.
#include "config/ui/window_impl_win32.h"

#include "engine/core/module_win32.h"

namespace {
const wchar_t kObjectProperty[] = L"VivarnWindowObject";
thread_local CWindowImpl* t_creating = nullptr;
}  // namespace

CWindowImpl::~CWindowImpl() {
  if (window_ == nullptr) return;
  if (subclassed_) {
    Unsubclass();
  } else {
    HWND w = window_;
    RemovePropW(w, kObjectProperty);
    window_ = nullptr;
    DestroyWindow(w);
  }
}

bool CWindowImpl::RegisterWindowClass(const wchar_t* className, UINT classStyle, HCURSOR cursor,
                                      HBRUSH background) {
  HINSTANCE instance = ProgramModule();
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, className, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = classStyle;
  wc.lpfnWndProc = StaticWindowProc;
  wc.hInstance = instance;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  return RegisterClassExW(&wc) != 0;
}

HWND CWindowImpl::Create(const wchar_t* className, HWND parent, const RECT& rect, const wchar_t* text,
                         DWORD style, DWORD exStyle, UINT_PTR idOrMenu) {
  if (window_ != nullptr) return nullptr;
  CWindowImpl* outer = t_creating;
  t_creating = this;
  HWND w = CreateWindowExW(exStyle, className, text, style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(idOrMenu),
                           ProgramModule(), nullptr);
  t_creating = outer;
  // A class whose procedure is not ours leaves the object unbound.
  if (w != nullptr && window_ != w) {
    DestroyWindow(w);
    return nullptr;
  }
  return w;
}

bool CWindowImpl::Subclass(HWND window) {
  if (window_ != nullptr || !IsWindow(window) || FromHandle(window) != nullptr) return false;
  Bind(window);
  subclassed_ = true;
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (current == StaticWindowProc) {
    // Our own class: chaining to ourselves would recurse forever.
    previousProc_ = nullptr;
    return true;
  }
  previousProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWindowProc)));
  if (previousProc_ == nullptr) {
    RemovePropW(window, kObjectProperty);
    window_ = nullptr;
    subclassed_ = false;
    return false;
  }
  return true;
}

HWND CWindowImpl::Unsubclass() {
  if (window_ == nullptr || !subclassed_) return nullptr;
  HWND w = window_;
  if (previousProc_ != nullptr) SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
  RemovePropW(w, kObjectProperty);
  previousProc_ = nullptr;
  subclassed_ = false;
  window_ = nullptr;
  return w;
}

CWindowImpl* CWindowImpl::FromHandle(HWND window) {
  return window ? static_cast<CWindowImpl*>(GetPropW(window, kObjectProperty)) : nullptr;
}

LRESULT CWindowImpl::DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (previousProc_ != nullptr) return CallWindowProcW(previousProc_, window_, message, wParam, lParam);
  return DefWindowProcW(window_, message, wParam, lParam);
}

void CWindowImpl::Bind(HWND window) {
  window_ = window;
  SetPropW(window, kObjectProperty, this);
}

LRESULT CALLBACK CWindowImpl::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWindowImpl* self = FromHandle(window);
  if (self == nullptr && t_creating != nullptr && t_creating->window_ == nullptr) {
    self = t_creating;
    self->Bind(window);
  }
  // A window of a registered class that no object owns (a dialog template
  // made it before the page attached an object) behaves as a plain window.
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  LRESULT result = 0;
  if (!self->ProcessWindowMessage(window, message, wParam, lParam, result)) {
    if (message == WM_NCDESTROY && self->previousProc_ != nullptr) {
      // Let the control finish with its own procedure before unbinding.
      WNDPROC previous = self->previousProc_;
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      result = CallWindowProcW(previous, window, message, wParam, lParam);
    } else {
      result = self->DefaultWindowProc(message, wParam, lParam);
    }
  }
  if (message == WM_NCDESTROY && self->window_ == window) {
    RemovePropW(window, kObjectProperty);
    self->window_ = nullptr;
    self->previousProc_ = nullptr;
    self->subclassed_ = false;
    self->OnFinalMessage(window);
  }
  return result;
}
