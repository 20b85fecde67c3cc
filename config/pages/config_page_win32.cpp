#include "config/pages/config_page_win32.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "config/pages/dlg_pattern_win32.h"
#include "engine/core/resource_loader_win32.h"
#include "life/named_rules.h"
#include "life/rulestring.h"
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

void CConfigPage::LoadRuleBoxes(const uint8_t born[9], const uint8_t survive[9], int32_t states) {
  for (int k = 0; k < 9; ++k) {
    SetChecked(IDC_BORN_0 + k, born[k] != 0);
    SetChecked(IDC_SURVIVE_0 + k, survive[k] != 0);
  }
  shownStates = states >= kMinRuleStates && states <= kMaxRuleStates ? states : kMinRuleStates;
  ShowRuleName();
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
    case IDC_CELL_SIZE: task.SetCellSize(cellSize); return true;
    case IDC_SHOW_STAT: task.SetShowStat(showStat); return true;
    default: return false;
  }
}

bool CConfigPage::ApplyRuleBox(int id) {
  VivarnTaskBse& task = Task();
  if (id >= IDC_SURVIVE_0 && id < IDC_SURVIVE_0 + 9) {
    task.SetRuleSurvive(id - IDC_SURVIVE_0, IsChecked(id));
  } else if (id >= IDC_BORN_0 && id < IDC_BORN_0 + 9) {
    task.SetRuleBorn(id - IDC_BORN_0, IsChecked(id));
  } else {
    return false;
  }
  ShowRuleName();
  return true;
}

namespace {
void AddComboEntry(HWND combo, UINT stringId, LPARAM data) {
  const std::wstring text = LoadResourceString(stringId);
  const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (index >= 0) SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), data);
}
}  // namespace

void CConfigPage::ShowRuleName() {
  HWND list = Item(IDC_RULE_LIST);
  if (list == nullptr) return;
  if (SendMessageW(list, CB_GETCOUNT, 0, 0) <= 0) {
    HookRuleEdit();
    for (size_t i = 0; i < kNamedRules.size(); ++i) {
      // The names are ASCII.
      const std::string name = kNamedRules[i].name;
      const std::wstring text(name.begin(), name.end());
      const LRESULT at = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      if (at >= 0) SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
    }
    AddComboEntry(list, IDS_RULE_CUSTOM, -1);
  }
  uint8_t born[9], survive[9];
  SaveRuleBoxes(born, survive);
  const uint16_t bornMask = RuleMask(born), surviveMask = RuleMask(survive);
  SelectByData(IDC_RULE_LIST, FindNamedRule(bornMask, surviveMask, shownStates));
  const std::string notation = PrintRulestring(RuleDefinition{bornMask, surviveMask, shownStates});
  SetDlgItemTextW(Handle(), IDC_RULE_NOTATION, std::wstring(notation.begin(), notation.end()).c_str());
}

void CConfigPage::ChooseNamedRule() {
  const LPARAM chosen = SelectedData(IDC_RULE_LIST, -1);
  if (chosen < 0 || static_cast<size_t>(chosen) >= kNamedRules.size()) {
    ShowRuleName();
    return;
  }
  const NamedRule& rule = kNamedRules[static_cast<size_t>(chosen)];
  uint8_t born[9], survive[9];
  RuleFlags(rule.born, born);
  RuleFlags(rule.survive, survive);
  LoadRuleBoxes(born, survive, rule.states);
  // The whole rule in one setter: no generation runs under half of it.
  Task().SetRule(born, survive, rule.states);
}

namespace {
// The command the rulestring box sends its page for Enter: no edit
// notification has this code.
constexpr int kRuleEditEnter = 0x7E01;
constexpr UINT_PTR kRuleEditSubclassId = 1;

LRESULT CALLBACK RuleEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_GETDLGCODE: {
      const MSG* key = reinterpret_cast<const MSG*>(lParam);
      if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
        return DefSubclassProc(edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
      break;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        SendMessageW(GetParent(edit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), kRuleEditEnter),
                     reinterpret_cast<LPARAM>(edit));
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L'\r') return 0;  // a single-line box would only beep
      break;
    case WM_NCDESTROY: RemoveWindowSubclass(edit, RuleEditProc, kRuleEditSubclassId); break;
    default: break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}
}  // namespace

void CConfigPage::HookRuleEdit() {
  HWND edit = Item(IDC_RULE_NOTATION);
  if (edit != nullptr) SetWindowSubclass(edit, RuleEditProc, kRuleEditSubclassId, 0);
}

bool CConfigPage::OnRuleEditCommand(int code) {
  if (code != kRuleEditEnter && code != EN_KILLFOCUS) return false;
  ApplyRuleEdit();
  return true;
}

void CConfigPage::ApplyRuleEdit() {
  HWND edit = Item(IDC_RULE_NOTATION);
  if (edit == nullptr) return;
  const int length = GetWindowTextLengthW(edit);
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  wide.resize(static_cast<size_t>(GetWindowTextW(edit, wide.data(), length + 1)));
  // Rules are ASCII: any other character is refused where it stands.
  std::string text(wide.size(), '?');
  for (size_t i = 0; i < wide.size(); ++i)
    if (wide[i] < 0x80) text[i] = static_cast<char>(wide[i]);
  RuleDefinition rule;
  RuleParseError error;
  if (!ParseRulestring(text, rule, error)) {
    ruleEditError = LoadResourceString(IDS_RULE_ERROR_FIRST + static_cast<UINT>(error.reason)) + L" " +
                    FormatResourceString(IDS_RULE_ERROR_AT, static_cast<int>(error.position) + 1);
    const std::wstring title = LoadResourceString(IDS_RULE_ERROR_TITLE);
    EDITBALLOONTIP balloon = {sizeof balloon, title.c_str(), ruleEditError.c_str(), TTI_ERROR};
    SendMessageW(edit, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&balloon));
    return;
  }
  ruleEditError.clear();
  SendMessageW(edit, EM_HIDEBALLOONTIP, 0, 0);
  uint8_t born[9], survive[9];
  SaveRuleBoxes(born, survive);
  const bool same = RuleMask(born) == rule.born && RuleMask(survive) == rule.survive && shownStates == rule.states;
  RuleFlags(rule.born, born);
  RuleFlags(rule.survive, survive);
  LoadRuleBoxes(born, survive, rule.states);
  // The whole rule in one setter: no generation runs under half of it.
  if (!same) Task().SetRule(born, survive, rule.states);
}

void CConfigPage::FillCombo(int id, const ComboItem* items, size_t count) {
  HWND combo = Item(id);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < count; ++i) AddComboEntry(combo, items[i].stringId, items[i].data);
}

// The fill patterns; each item's data is the ResetMode value.
static constexpr ComboItem kFillModes[] = {{IDS_FILL_FULL, 0},   {IDS_FILL_SQUARE, 1}, {IDS_FILL_CIRCLE, 2},
                                           {IDS_FILL_FAMOUS, 3}, {IDS_FILL_PATTERN, 4}};

void CConfigPage::FillFillModeCombo(int id) { FillCombo(id, kFillModes); }

bool CConfigPage::ChoosePattern() {
  CDlgPattern dialog;
  return dialog.DoModal(Handle()) == IDOK;
}

bool CConfigPage::PatternChosen() {
  const LifeSettings settings = Task().Settings();
  return !settings.PatternName.empty() || !settings.PatternFile.empty();
}

// The cell sizes, largest first; each item's data is the size in pixels. The
// last two only where shaders draw the field.
static constexpr ComboItem kCellSizes[] = {{IDS_CELL_VERY_LARGE, 25}, {IDS_CELL_LARGE, 20}, {IDS_CELL_MEDIUM, 15},
                                           {IDS_CELL_SMALL, 10},      {IDS_CELL_VERY_SMALL, 5}, {IDS_CELL_TINY, 3},
                                           {IDS_CELL_SMALLEST, 2}};
constexpr size_t kFineCellSizes = 2;
// Polls the task for the preview's draw path (see FollowDrawPath).
constexpr UINT_PTR kDrawPathTimer = 0x7D;

void CConfigPage::FillCellSizeCombo(int id) {
  const FieldDrawPath path = Task().DrawPath();
  fineCellSizes = path == FieldDrawPath::Shaders;
  const size_t count = sizeof kCellSizes / sizeof kCellSizes[0];
  FillCombo(id, kCellSizes, fineCellSizes ? count : count - kFineCellSizes);
  if (path == FieldDrawPath::Unknown && !watchingDrawPath && SetTimer(Handle(), kDrawPathTimer, 250, nullptr) != 0)
    watchingDrawPath = true;
}

void CConfigPage::FollowDrawPath() {
  const FieldDrawPath path = Task().DrawPath();
  if (path == FieldDrawPath::Unknown) return;
  KillTimer(Handle(), kDrawPathTimer);
  watchingDrawPath = false;
  const bool shaders = path == FieldDrawPath::Shaders;
  if (shaders != fineCellSizes) {
    FillCellSizeCombo(IDC_CELL_SIZE);
    SelectByData(IDC_CELL_SIZE, Task().Settings().CellSize);
  }
  DrawPathKnown(shaders);
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

bool CConfigPage::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (OnPageMessage(message, wParam, lParam, result)) return true;
  switch (message) {
    case WM_INITDIALOG:
      OnInitPage();
      result = TRUE;
      return true;
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: return HandlePageNotify(lParam, result);
    case WM_TIMER:
      if (wParam != kDrawPathTimer) return false;
      FollowDrawPath();
      result = 0;
      return true;
    default: return false;
  }
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
