// Dialog objects: bound on WM_INITDIALOG (whose parameter is the object), kept
// in DWLP_USER, unbound after WM_NCDESTROY; property pages share the procedure.
#include "config/ui/dialog_impl_win32.h"

#include "engine/core/module_win32.h"

CDialogImpl::CDialogImpl(UINT templateId, HINSTANCE resources)
    : templateId_(templateId), resources_(resources ? resources : ProgramModule()) {}

CDialogImpl::CDialogImpl(const DLGTEMPLATE* templateInMemory)
    : resources_(ProgramModule()), templateInMemory_(templateInMemory) {}

CDialogImpl::~CDialogImpl() {
  if (window_ != nullptr && !modal_) {
    HWND w = window_;
    SetWindowLongPtrW(w, DWLP_USER, 0);
    window_ = nullptr;
    DestroyWindow(w);
  }
}

INT_PTR CDialogImpl::DoModal(HWND parent, LPARAM initParam) {
  if (window_ != nullptr) return -1;
  modal_ = true;
  initParam_ = initParam;
  LPARAM self = reinterpret_cast<LPARAM>(this);
  INT_PTR r = templateInMemory_
                  ? DialogBoxIndirectParamW(resources_, templateInMemory_, parent, StaticDialogProc, self)
                  : DialogBoxParamW(resources_, MAKEINTRESOURCEW(templateId_), parent, StaticDialogProc, self);
  modal_ = false;
  return r;
}

HWND CDialogImpl::Create(HWND parent, LPARAM initParam) {
  if (window_ != nullptr) return nullptr;
  modal_ = false;
  initParam_ = initParam;
  LPARAM self = reinterpret_cast<LPARAM>(this);
  return templateInMemory_
             ? CreateDialogIndirectParamW(resources_, templateInMemory_, parent, StaticDialogProc, self)
             : CreateDialogParamW(resources_, MAKEINTRESOURCEW(templateId_), parent, StaticDialogProc, self);
}

bool CDialogImpl::EndDialog(INT_PTR result) {
  if (window_ == nullptr) return false;
  if (modal_) return ::EndDialog(window_, result) != FALSE;
  return DestroyWindow(window_) != FALSE;
}

bool DialogReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return true;
    default:
      return false;
  }
}

INT_PTR CALLBACK CDialogImpl::StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialogImpl* binding = nullptr;
  if (message == WM_INITDIALOG) {
    binding = reinterpret_cast<CDialogImpl*>(lParam);
    if (binding != nullptr) lParam = binding->initParam_;
  }
  return DialogProc(binding, window, message, wParam, lParam);
}

INT_PTR CDialogObject::DialogProc(CDialogObject* binding, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CDialogObject*>(GetWindowLongPtrW(window, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = binding;
    if (self == nullptr) return FALSE;
    self->window_ = window;
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  }
  // Messages before WM_INITDIALOG (WM_SETFONT) have no object yet.
  if (self == nullptr) return FALSE;

  LRESULT result = 0;
  bool handled = self->ProcessWindowMessage(window, message, wParam, lParam, result);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    self->window_ = nullptr;
    self->OnFinalMessage(window);
    return FALSE;
  }
  if (message == WM_INITDIALOG) return handled ? result : TRUE;  // TRUE: default focus
  if (!handled) return FALSE;
  if (DialogReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
  return TRUE;
}
