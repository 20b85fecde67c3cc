#include "config/pages/palette_ui_win32.h"

#include "life/vivarn_task.h"

std::wstring SelectedComboText(HWND combo) {
  const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (index < 0) return std::wstring();
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

bool PaletteDeletable(HWND combo) {
  return SendMessageW(combo, CB_GETCURSEL, 0, 0) >= 0 && SelectedComboText(combo) != L"Default";
}

const CGradient* CurrentGradient(const CPaletteContainerBase& store) {
  const PaletteRecord* record = store.FindByGuid(store.currentGuid);
  return record != nullptr ? &record->gradient : nullptr;
}

void RebuildColourTable(const CGradient& gradient) { VivarnTask::Instance()->BuildColourTable(&gradient); }

const CGradient* ShownGradient(const IGradientView* view, const CPaletteContainerBase& store) {
  return view != nullptr ? &view->GetGradient() : CurrentGradient(store);
}

void AddShownPalette(CPaletteContainerBase& store, const IGradientView* view, const wchar_t* name) {
  CGradient gradient;
  if (const CGradient* shown = ShownGradient(view, store)) gradient.CopyFrom(*shown);
  const int32_t index = store.AddPalette(gradient, name);
  store.MakeCurrent(index);
}

bool DeleteSelectedPalette(HWND combo, CPaletteContainerBase& store) {
  const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (selected < 0) return false;
  const LRESULT removed = SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
  if (removed < 0 || removed >= store.Count()) return false;
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
  return true;
}
