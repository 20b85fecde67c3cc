#include "config/pages/dlg_page_lifecfg_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "config/logic/trackbar_mapping.h"
#include "engine/core/resource_loader_win32.h"
#include "life/vivarn_task.h"
#include "resources/resource.h"

CDlgPageLifeCfg::CDlgPageLifeCfg() : CConfigPage(IDD_PAGE_RULES) {}

void CDlgPageLifeCfg::OnInitPage() {
  RefreshPage();
  const LifeSettings settings = Task().Settings();
  DieSlowly = settings.DieSlowly;
  // The trackbar shows the fading the field uses.
  DieStep = settings.EffectiveDieStep();
  SetChecked(IDC_DIE_SLOWLY, DieSlowly);
  HWND trackbar = Item(IDC_TRACKBAR);
  SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(kDieStepMinPos, kDieStepMaxPos));
  SendMessageW(trackbar, TBM_SETTICFREQ, 5, 0);
  SendMessageW(trackbar, TBM_SETPOS, TRUE, PositionFromDieStep(DieStep));
  ApplyTrackbar();
  OnIdle();
}

void CDlgPageLifeCfg::RefreshPage() {
  const LifeSettings settings = Task().Settings();
  std::copy_n(settings.RuleBorn, 9, RuleBorn);
  std::copy_n(settings.RuleSurvive, 9, RuleSurvive);
  LoadRuleBoxes(RuleBorn, RuleSurvive, settings.EffectiveRuleStates());
}

void CDlgPageLifeCfg::Save() {
  SaveRuleBoxes(RuleBorn, RuleSurvive);
  DieSlowly = IsChecked(IDC_DIE_SLOWLY);
  DieStep = DieStepFromPosition(static_cast<int32_t>(SendMessageW(Item(IDC_TRACKBAR), TBM_GETPOS, 0, 0)));
}

void CDlgPageLifeCfg::ApplyTrackbar() {
  const int32_t position = static_cast<int32_t>(SendMessageW(Item(IDC_TRACKBAR), TBM_GETPOS, 0, 0));
  DieStep = DieStepFromPosition(position);
  Task().SetDieStep(DieStep);
  const std::wstring label = DieStepIsZombie(DieStep) ? LoadResourceString(IDS_DIE_STEP_ZOMBIE)
                                                      : FormatResourceString(IDS_DIE_STEP_FORMAT, double{DieStep});
  SetDlgItemTextW(Handle(), IDC_TRACKBAR_LABEL, label.c_str());
}

void CDlgPageLifeCfg::OnIdle() {
  if (Handle() == nullptr) return;
  // A Generations rule has dying states of its own: the fading does not
  // apply, though its settings are kept for the Life-like rules.
  const bool lifeLike = ShownRuleStates() <= 2;
  Enable(IDC_DIE_SLOWLY, lifeLike);
  const bool on = lifeLike && IsChecked(IDC_DIE_SLOWLY);
  for (int id : {IDC_TRACKBAR, IDC_SLOWER, IDC_TRACKBAR_LABEL, IDC_FASTER}) Enable(id, on);
}

bool CDlgPageLifeCfg::OnCommand(int id, int code) {
  if (id == IDC_RULE_LIST && code == CBN_SELENDOK) {
    ChooseNamedRule();
    Save();
    return true;
  }
  if (id == IDC_RULE_NOTATION) {
    // The page's own Load writes the box before the other controls: saving
    // on that would read them unloaded.
    if (OnRuleEditCommand(code)) Save();
    return true;
  }
  if (code != BN_CLICKED) return false;
  Save();
  if (ApplyRuleBox(id)) return true;
  if (id == IDC_DIE_SLOWLY) {
    Task().SetDieSlowly(DieSlowly);
    return true;
  }
  return false;
}

bool CDlgPageLifeCfg::OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
  if (message != WM_HSCROLL) return false;
  int32_t position = 0;
  if (!TrackbarMoved(wParam, lParam, false, position)) return false;
  ApplyTrackbar();
  return true;
}
