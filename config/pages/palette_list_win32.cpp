#include "config/pages/palette_list_win32.h"

#include <commctrl.h>

#include "engine/core/scoped_handle_win32.h"
#include "life/vivarn_task.h"

namespace {
void AddEntry(HWND combo, const wchar_t* text, LPARAM data) {
  const LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (at >= 0) SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), data);
}

// The open list as wide as its longest entry: the General page's list is
// narrow, and translated labels and the user's names run past it.
void FitDroppedWidth(HWND combo) {
  const ScopedWindowDc dc(GetDC(combo), WindowDcTraits(combo));
  if (!dc) return;
  ScopedSelection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(combo, WM_GETFONT, 0, 0)));
  int widest = 0;
  const LRESULT entries = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT entry = 0; entry < entries; ++entry) {
    wchar_t text[kPaletteNameMaxChars + 64] = {};
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(entry), 0);
    if (length <= 0 || length >= static_cast<LRESULT>(sizeof(text) / sizeof(text[0]))) continue;
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(entry), reinterpret_cast<LPARAM>(text));
    SIZE size{};
    if (GetTextExtentPoint32W(dc.get(), text, static_cast<int>(length), &size) && size.cx > widest) widest = size.cx;
  }
  // Room for the list's frame, the item's margins and a scroll bar.
  const int room = 4 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL);
  SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + room), 0);
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
  FitDroppedWidth(combo);
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

int ComboTextWidth(HWND combo, const std::wstring& text) {
  const ScopedWindowDc dc(GetDC(combo), WindowDcTraits(combo));
  if (!dc) return 0;
  ScopedSelection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(combo, WM_GETFONT, 0, 0)));
  SIZE size{};
  if (!GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

std::wstring ClosedComboTip(HWND combo) {
  std::wstring text = SelectedComboText(combo);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (text.empty() || !GetComboBoxInfo(combo, &info)) return std::wstring();
  // The item rectangle less the margin the combo leaves either side of its text.
  const int room = info.rcItem.right - info.rcItem.left - 2 * GetSystemMetrics(SM_CXEDGE);
  return ComboTextWidth(combo, text) > room ? text : std::wstring();
}

HWND AttachClosedComboTip(HWND page, HWND combo) {
  HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, page, nullptr, nullptr, nullptr);
  if (tip == nullptr) return nullptr;
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = page;
  tool.uId = reinterpret_cast<UINT_PTR>(combo);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  if (!SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
    DestroyWindow(tip);
    return nullptr;
  }
  return tip;
}

bool AnswerClosedComboTip(const NMHDR& header, HWND combo, std::wstring& text) {
  if (header.code != TTN_GETDISPINFOW || reinterpret_cast<HWND>(header.idFrom) != combo) return false;
  auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
  text = ClosedComboTip(combo);
  // An empty text shows no tip: the whole name is on view already.
  info.lpszText = text.data();
  info.hinst = nullptr;
  return true;
}

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

bool PaletteDeletable(HWND combo, const CPaletteContainerBase& store) {
  const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (selected < 0) return false;
  const LRESULT index = SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
  if (index < 0 || index >= store.Count()) return false;
  return !IsDefaultPaletteName(store.palettes[static_cast<size_t>(index)]->name);
}

const CGradient* CurrentGradient(const CPaletteContainerBase& store) {
  const PaletteRecord* record = store.FindByGuid(store.currentGuid);
  return record != nullptr ? &record->gradient : nullptr;
}

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

void RebuildColourTable(const CGradient& gradient) { VivarnTask::Instance()->BuildColourTable(&gradient); }

void ApplyCurrentPalette(const CPaletteContainerBase& store) {
  if (const CGradient* current = CurrentGradient(store)) RebuildColourTable(*current);
}

void ChooseListedPalette(HWND combo, CPaletteContainerBase& store) {
  // Without a view the commit takes the selection and nothing else: nothing
  // the control shows is written back, edits reached their palette as they
  // were made.
  SyncPaletteCombo(combo, store, true, nullptr);
  ApplyCurrentPalette(store);
}

void ApplyEditedGradient(CPaletteContainerBase& store, const CGradient& shown) {
  if (PaletteRecord* current = store.FindByGuid(store.currentGuid)) current->gradient.CopyFrom(shown);
  RebuildColourTable(shown);
}
