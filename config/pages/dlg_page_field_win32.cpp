#include "config/pages/dlg_page_field_win32.h"

#include <commctrl.h>

#include "config/logic/trackbar_mapping.h"
#include "engine/core/resource_loader_win32.h"
#include "life/vivarn_task.h"
#include "resources/resource.h"

CDlgPageField::CDlgPageField() : CConfigPage(IDD_PAGE_FIELD) {}

void CDlgPageField::OnInitPage() {
  FillFillModeCombo(IDC_FILL_MODE);
  // The controls show what the field uses, not a stored number none of
  // them can produce.
  LifeSpeed = Task().Settings().EffectiveLifeSpeed();
  HWND trackbar = Item(IDC_TRACKBAR);
  SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(kSpeedMinPos, kSpeedMaxPos));
  SendMessageW(trackbar, TBM_SETTICFREQ, 5, 0);
  SendMessageW(trackbar, TBM_SETPOS, TRUE, PositionFromLifeSpeed(LifeSpeed));
  RefreshPage();
}

void CDlgPageField::RefreshPage() {
  // The General page sets the fill mode and automatic reseeding too.
  const LifeSettings settings = Task().Settings();
  PeriodicResetOn = settings.PeriodicResetOn;
  ResetPeriod = settings.ResetPeriod;
  AutoReset = settings.AutoReset;
  ResetMode = settings.EffectiveResetMode();
  SetChecked(IDC_RESET_EVERY, PeriodicResetOn);
  ShowPeriod();
  SetChecked(IDC_AUTO_RESET, AutoReset);
  SelectByData(IDC_FILL_MODE, ResetMode);
  OnIdle();
}

void CDlgPageField::ShowPeriod() {
  writingPeriod = true;
  SetDlgItemInt(Handle(), IDC_RESET_PERIOD, ResetPeriod, FALSE);
  writingPeriod = false;
}

bool CDlgPageField::Save() {
  PeriodicResetOn = IsChecked(IDC_RESET_EVERY);
  BOOL isNumber = FALSE;
  const UINT period = GetDlgItemInt(Handle(), IDC_RESET_PERIOD, &isNumber, FALSE);
  // Taken as 0, an emptied edit would reseed the field before every
  // generation; a 0 the user types means just that.
  if (isNumber) ResetPeriod = period;
  AutoReset = IsChecked(IDC_AUTO_RESET);
  ResetMode = static_cast<int32_t>(SelectedData(IDC_FILL_MODE, ResetMode));
  if (!isNumber) {
    beep();
    SetFocus(Item(IDC_RESET_PERIOD));
  }
  return isNumber != FALSE;
}

void CDlgPageField::ApplySpeed(int32_t position) {
  LifeSpeed = LifeSpeedFromPosition(position);
  Task().SetLifeSpeed(LifeSpeed);
  const std::wstring label = position >= kSpeedMaxPos ? LoadResourceString(IDS_SPEED_MAX)
                                                      : FormatResourceString(IDS_SPEED_FORMAT, int{position});
  SetDlgItemTextW(Handle(), IDC_TRACKBAR_LABEL, label.c_str());
}

void CDlgPageField::OnIdle() {
  if (Handle() == nullptr) return;
  const bool on = IsChecked(IDC_RESET_EVERY);
  Enable(IDC_RESET_PERIOD, on);
  Enable(IDC_GENERATIONS, on);
}

bool CDlgPageField::OnCommand(int id, int code) {
  if (id == IDC_RESET_PERIOD && code == EN_KILLFOCUS) {
    // Leaving an edit that holds no number shows the period still in use.
    BOOL isNumber = FALSE;
    GetDlgItemInt(Handle(), IDC_RESET_PERIOD, &isNumber, FALSE);
    if (!isNumber) ShowPeriod();
    return true;
  }
  const bool userEdit = id == IDC_RESET_PERIOD && code == EN_CHANGE && !writingPeriod;
  const bool click = code == BN_CLICKED && (id == IDC_RESET_EVERY || id == IDC_AUTO_RESET || id == IDC_RESET_NOW ||
                                            id == IDC_PATTERN_CHOOSE);
  const bool fillChosen = id == IDC_FILL_MODE && code == CBN_SELENDOK;
  if (!userEdit && !click && !fillChosen) return false;
  if (id == IDC_RESET_NOW) {
    Task().ResetPopulation();
    return true;
  }
  if (id == IDC_PATTERN_CHOOSE) {
    ChoosePattern();
    RefreshPage();
    return true;
  }
  if (!Save() && userEdit) return true;
  VivarnTaskBse& task = Task();
  if (id == IDC_RESET_EVERY) {
    task.SetPeriodicResetOn(PeriodicResetOn);
  } else if (id == IDC_RESET_PERIOD) {
    task.SetResetPeriod(ResetPeriod);
  } else if (id == IDC_AUTO_RESET) {
    task.SetAutoReset(AutoReset);
  } else if (ResetMode == 4 && !PatternChosen()) {
    // "Pattern" with none chosen would fill as the full field: ask for one.
    ChoosePattern();
    RefreshPage();
  } else {
    task.SetResetMode(ResetMode);
  }
  return true;
}

bool CDlgPageField::OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
  if (message != WM_HSCROLL) return false;
  // Keys, the wheel and clicks on the channel move the thumb as surely as a
  // drag does; the label and the speed follow every one.
  int32_t position = 0;
  if (!TrackbarMoved(wParam, lParam, true, position)) return false;
  ApplySpeed(position);
  return true;
}
