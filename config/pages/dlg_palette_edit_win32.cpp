#include "config/pages/dlg_palette_edit_win32.h"

#include "config/pages/dlg_input_text_win32.h"
#include "config/pages/palette_list_win32.h"
#include "engine/core/resource_loader_win32.h"
#include "resources/resource.h"

CDlgPaletteEdit::CDlgPaletteEdit() : CDialogImpl(LoadDialogTemplate(IDD_PALETTE_SETUP)) {
  // Before the dialog window exists: the template's control is only made when
  // its class is known.
  CGradientCtrl::RegisterControlClass();
  store.CopyFrom(*LockedPaletteStore());
  defaultLabel = LoadResourceString(IDS_PALETTE_DEFAULT);
}

void CDlgPaletteEdit::AttachGradient() {
  view = nullptr;
  // DS_NOFAILCREATE: without the control the dialog still manages the list.
  if (!gradient.Attach(GetDlgItem(Handle(), IDC_GRADIENT))) return;
  gradient.SetCustomText(LoadResourceString(IDS_COLOUR_CUSTOM));
  view = &gradient;
}

void CDlgPaletteEdit::Refill() { FillPaletteCombo(combo, store, defaultLabel.c_str(), nullptr); }

void CDlgPaletteEdit::Sync(bool commit) {
  SyncPaletteCombo(combo, store, commit, view);
  EnableWindow(GetDlgItem(Handle(), IDC_DELETE), PaletteDeletable(combo, store));
}

void CDlgPaletteEdit::SaveAs() {
  CDlgInputText name;
  name.SetText(SelectedComboText(combo));
  if (name.DoModal(Handle()) != IDOK) return;
  AddShownPalette(store, view, name.GetText().c_str());
  Refill();
  Sync(false);
}

void CDlgPaletteEdit::DeleteSelected() {
  if (!DeleteSelectedPalette(combo, store)) return;
  Refill();
  Sync(false);
}

bool CDlgPaletteEdit::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      combo = GetDlgItem(window, IDC_PALETTE_LIST);
      AttachGradient();
      Refill();
      Sync(false);
      result = TRUE;
      return true;
    case WM_DESTROY:
      view = nullptr;
      return false;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_PALETTE_LIST:
          if (HIWORD(wParam) != CBN_SELENDOK) return false;
          Sync(true);
          return true;
        case IDC_SAVE_AS:
          if (HIWORD(wParam) != BN_CLICKED) return false;
          SaveAs();
          return true;
        case IDC_DELETE:
          if (HIWORD(wParam) != BN_CLICKED) return false;
          DeleteSelected();
          return true;
        case IDOK:
          Sync(true);
          LockedPaletteStore()->CopyFrom(store);
          EndDialog(IDOK);
          return true;
        case IDCANCEL:
          EndDialog(IDCANCEL);
          return true;
        default:
          return false;
      }
    default:
      return false;
  }
}
