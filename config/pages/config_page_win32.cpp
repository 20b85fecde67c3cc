#include "config/pages/config_page_win32.h"

#include <commctrl.h>

#include <cwchar>

#include "engine/core/resource_loader_win32.h"
#include "life/vivarn_task.h"
#include "resources/resource.h"

CConfigPage::CConfigPage(UINT templateId) : CPropertyPageImpl(LoadDialogTemplate(templateId)) {}

VivarnTaskBse& CConfigPage::Task() { return *VivarnTask::Instance().get(); }

bool CConfigPage::IsChecked(int id) const { return IsDlgButtonChecked(Handle(), id) == BST_CHECKED; }

void CConfigPage::SetChecked(int id, bool on) { CheckDlgButton(Handle(), id, on ? BST_CHECKED : BST_UNCHECKED); }

void CConfigPage::Enable(int id, bool on) {
  HWND item = Item(id);
  if (item != nullptr && (IsWindowEnabled(item) != FALSE) != on) EnableWindow(item, on);
}

void CConfigPage::LoadRuleBoxes(const uint8_t born[9], const uint8_t survive[9]) {
  for (int k = 0; k < 9; ++k) {
    SetChecked(IDC_BORN_0 + k, born[k] != 0);
    SetChecked(IDC_SURVIVE_0 + k, survive[k] != 0);
  }
}

void CConfigPage::SaveRuleBoxes(uint8_t born[9], uint8_t survive[9]) const {
  for (int k = 0; k < 9; ++k) {
    born[k] = IsChecked(IDC_BORN_0 + k) ? 1 : 0;
    survive[k] = IsChecked(IDC_SURVIVE_0 + k) ? 1 : 0;
  }
}

bool CConfigPage::ApplyDrawingControl(int id, int32_t fieldDrawMode, int32_t cellSize, bool showStat) {
  VivarnTaskBse& task = Task();
  switch (id) {
    case IDC_DRAW_BY_CELL:
    case IDC_DRAW_FIELD: task.SetFieldDrawMode(fieldDrawMode); return true;
    case IDC_CELL_SIZE:
      task.SetCellSize(cellSize);
      task.ApplyCellSize();
      return true;
    case IDC_SHOW_STAT: task.SetShowStat(showStat); return true;
    default: return false;
  }
}

bool CConfigPage::ApplyRuleBox(int id) {
  VivarnTaskBse& task = Task();
  if (id >= IDC_SURVIVE_0 && id < IDC_SURVIVE_0 + 9) {
    task.SetRuleSurvive(id - IDC_SURVIVE_0, IsChecked(id));
    return true;
  }
  if (id >= IDC_BORN_0 && id < IDC_BORN_0 + 9) {
    task.SetRuleBorn(id - IDC_BORN_0, IsChecked(id));
    return true;
  }
  return false;
}

namespace {
void AddComboEntry(HWND combo, UINT stringId, LPARAM data) {
  const std::wstring text = LoadResourceString(stringId);
  const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (index >= 0) SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), data);
}
}  // namespace

void CConfigPage::FillFillModeCombo(int id) {
  HWND combo = Item(id);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  AddComboEntry(combo, IDS_FILL_FULL, 0);
  AddComboEntry(combo, IDS_FILL_SQUARE, 1);
  AddComboEntry(combo, IDS_FILL_CIRCLE, 2);
}

void CConfigPage::FillCellSizeCombo(int id) {
  HWND combo = Item(id);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  AddComboEntry(combo, IDS_CELL_VERY_LARGE, 25);
  AddComboEntry(combo, IDS_CELL_LARGE, 20);
  AddComboEntry(combo, IDS_CELL_MEDIUM, 15);
  AddComboEntry(combo, IDS_CELL_SMALL, 10);
  AddComboEntry(combo, IDS_CELL_VERY_SMALL, 5);
}

void CConfigPage::SelectByData(int id, LPARAM data) {
  HWND combo = Item(id);
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    if (SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == data) {
      SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      return;
    }
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

LPARAM CConfigPage::SelectedData(int id, LPARAM fallback) const {
  HWND combo = Item(id);
  const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (index < 0) return fallback;
  return SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

std::wstring FormatResourceString(UINT id, double value) {
  wchar_t buffer[300] = {};
  swprintf(buffer, 300, LoadResourceString(id).c_str(), value);
  return buffer;
}

std::wstring FormatResourceString(UINT id, int value) {
  wchar_t buffer[300] = {};
  swprintf(buffer, 300, LoadResourceString(id).c_str(), value);
  return buffer;
}

bool CConfigPage::HandlePageNotify(LPARAM lParam, LRESULT& result) {
  switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
    case PSN_SETACTIVE:
      RefreshPage();
      result = 0;
      return true;
    case PSN_KILLACTIVE:
      result = FALSE;
      return true;
    case PSN_APPLY:
      result = PSNRET_NOERROR;
      return true;
    default:
      return false;
  }
}

bool CConfigPage::TrackbarMoved(WPARAM wParam, LPARAM lParam, bool withEnd, int32_t& position) const {
  HWND trackbar = Item(IDC_TRACKBAR);
  if (trackbar == nullptr || reinterpret_cast<HWND>(lParam) != trackbar) return false;
  if (!withEnd && LOWORD(wParam) == TB_ENDTRACK) return false;
  position = static_cast<int32_t>(SendMessageW(trackbar, TBM_GETPOS, 0, 0));
  return true;
}
