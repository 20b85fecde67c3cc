#include "palette/palette_combo_win32.h"

namespace {
void AddEntry(HWND combo, const wchar_t* text, LPARAM data) {
  const LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (at >= 0) SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), data);
}
}  // namespace

void FillPaletteCombo(HWND combo, const CPaletteContainerBase& container, const wchar_t* defaultLabel,
                      const wchar_t* extraLabel) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  int32_t defaultIndex = 0;
  for (int32_t i = 0; i < container.Count(); ++i) {
    const PaletteRecord& record = *container.palettes[static_cast<size_t>(i)];
    if (IsDefaultPaletteName(record.name)) {
      defaultIndex = i;
      continue;
    }
    AddEntry(combo, record.name, i);
  }
  AddEntry(combo, defaultLabel != nullptr ? defaultLabel : L"", defaultIndex);
  if (extraLabel != nullptr) AddEntry(combo, extraLabel, -1);
}

void SyncPaletteCombo(HWND combo, CPaletteContainerBase& container, bool commit, IGradientView* view) {
  if (commit) {
    if (view != nullptr) {
      if (PaletteRecord* current = container.FindByGuid(container.currentGuid)) {
        current->gradient.CopyFrom(view->GetGradient());
      }
    }
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;
    // -1 marks the extra entry (and CB_ERR, the same value, a failed query).
    const LRESULT data = SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
    if (data < 0) return;
    // A combo filled from another store may carry indices this one lacks.
    if (data >= container.Count()) return;
    // A palette without a GUID stays unchosen; the list goes back to the
    // current one below.
    container.MakeCurrent(static_cast<int32_t>(data));
  }

  const int32_t index = container.IndexOfGuid(container.currentGuid);
  if (index < 0) return;
  const LRESULT entries = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT entry = 0; entry < entries; ++entry) {
    if (SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(entry), 0) == index) {
      SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
      SetControlGradient(view, container.palettes[static_cast<size_t>(index)]->gradient);
      return;
    }
  }
}

void SetControlGradient(IGradientView* view, const CGradient& gradient) {
  if (view == nullptr) return;
  view->SetGradient(gradient);
  view->Invalidate();
}
