#include "config/palette_ui_win32.h"

#include <vector>

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

void RebuildColourTable(const CGradient& gradient) {
  std::vector<uint8_t> table(static_cast<size_t>(kColourTableEntries) * 3);
  gradient.FillColourTable(table.data(), kColourTableEntries);
  VivarnTask::Instance()->BuildColourTableFromBgr(kColourTableEntries, table.data());
}
