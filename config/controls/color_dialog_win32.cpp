#include "config/controls/color_dialog_win32.h"

namespace {
const wchar_t kDialogProperty[] = L"VivarnColorDialog";
}

COLORREF* CColorDialog::CustomColours() {
  static COLORREF colours[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  return colours;
}

CColorDialog::CColorDialog(COLORREF initial) {
  record_.lStructSize = sizeof record_;
  record_.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_ENABLEHOOK;
  record_.lpCustColors = CustomColours();
  record_.lpfnHook = HookProc;
  record_.lCustData = reinterpret_cast<LPARAM>(this);
  // The special values CLR_NONE and CLR_DEFAULT are not colours the dialog
  // can show; only a plain 0x00BBGGRR value is preselected.
  if (initial != 0 && (initial & 0xFF000000u) == 0) {
    record_.rgbResult = initial;
    record_.Flags |= CC_RGBINIT;
  }
}

INT_PTR CColorDialog::DoModal(HWND parent) {
  record_.hwndOwner = parent;
  BOOL ok = ChooseColorW(&record_);
  window_ = nullptr;
  return ok ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK CColorDialog::HookProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
  static const UINT colorOk = RegisterWindowMessageW(L"commdlg_ColorOK");
  auto* self = static_cast<CColorDialog*>(GetPropW(window, kDialogProperty));
  if (self == nullptr && message == WM_INITDIALOG) {
    auto* record = reinterpret_cast<CHOOSECOLORW*>(lParam);
    self = record ? reinterpret_cast<CColorDialog*>(record->lCustData) : nullptr;
    if (self == nullptr) return 0;
    self->window_ = window;
    SetPropW(window, kDialogProperty, self);
    return 0;
  }
  if (self == nullptr) return 0;
  if (message == colorOk) return self->OnColorOK() ? 0 : 1;
  if (message == WM_NCDESTROY) {
    RemovePropW(window, kDialogProperty);
    self->window_ = nullptr;
  }
  return 0;
}
