#include "config/dlg_palette_edit_win32.h"

#include "config/dlg_input_text_win32.h"
#include "config/palette_ui_win32.h"
#include "config/resource_loader_win32.h"
#include "palette/palette_combo_win32.h"
#include "resources/resource.h"

CDlgPaletteEdit::CDlgPaletteEdit() : CDialogImpl(LoadDialogTemplate(IDD_PALETTE_SETUP)) {
  // Before the dialog window exists: the template's control is only made when
  // its class is known.
  CGradientCtrl::RegisterControlClass();
  store.CopyFrom(*CPaletteContainer::Instance().get());
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
  EnableWindow(GetDlgItem(Handle(), IDC_DELETE), PaletteDeletable(combo));
}

void CDlgPaletteEdit::SaveAs() {
  CDlgInputText name;
  name.SetText(SelectedComboText(combo));
  if (name.DoModal(Handle()) != IDOK) return;
  // The gradient as shown goes to the new palette only.
  const CGradient* shown = view != nullptr ? &view->GetGradient() : CurrentGradient(store);
  CGradient gradient;
  if (shown != nullptr) gradient.CopyFrom(*shown);
  const int32_t index = store.AddPalette(gradient, name.GetText().c_str());
  if (index >= 0) store.currentGuid = store.palettes[static_cast<size_t>(index)]->guid;
  Refill();
  Sync(false);
}

void CDlgPaletteEdit::DeleteSelected() {
  const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (selected < 0) return;
  const LRESULT removed = SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
  if (removed < 0 || removed >= store.Count()) return;
  SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  const LRESULT next = selected < count ? selected : count - 1;
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(next), 0);
  // Remember the next palette by identity: removing shifts the indices.
  const LRESULT nextIndex = next >= 0 ? SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(next), 0) : -1;
  PaletteGuid nextGuid;
  if (nextIndex >= 0 && nextIndex < store.Count()) nextGuid = store.palettes[static_cast<size_t>(nextIndex)]->guid;
  store.RemoveAt(static_cast<int32_t>(removed));
  store.currentGuid = nextGuid;
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
          CPaletteContainer::Instance()->CopyFrom(store);
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
