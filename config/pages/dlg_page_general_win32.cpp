#include "config/pages/dlg_page_general_win32.h"

#include <algorithm>

#include "config/pages/dlg_palette_edit_win32.h"
#include "config/pages/palette_list_win32.h"
#include "engine/core/resource_loader_win32.h"
#include "life/vivarn_task.h"
#include "resources/resource.h"

CDlgPageGeneral::CDlgPageGeneral() : CColoursPage(IDD_PAGE_GENERAL) {}

// The mouse choices: pixels from where the pointer was first seen.
static constexpr ComboItem kMouseChoices[] = {
    {IDS_MOUSE_ANY, 0}, {IDS_MOUSE_SMALL, 8}, {IDS_MOUSE_DELIBERATE, 32}};

void CDlgPageGeneral::Load() {
  const LifeSettings settings = Task().Settings();
  std::copy_n(settings.RuleBorn, 9, RuleBorn);
  std::copy_n(settings.RuleSurvive, 9, RuleSurvive);
  AutoReset = settings.AutoReset;
  ResetMode = settings.EffectiveResetMode();
  FieldDrawMode = settings.FieldDrawMode;
  CellSize = settings.CellSize;
  ShowStat = settings.ShowStat;
  BkColour = ColourFromBkColor(settings.BkColor);
  LoadRuleBoxes(RuleBorn, RuleSurvive, settings.EffectiveRuleStates());
  SetChecked(IDC_AUTO_RESET, AutoReset);
  FillFillModeCombo(IDC_FILL_MODE);
  SelectByData(IDC_FILL_MODE, ResetMode);
  CheckRadioButton(Handle(), IDC_DRAW_BY_CELL, IDC_DRAW_FIELD, FieldDrawMode == 1 ? IDC_DRAW_FIELD : IDC_DRAW_BY_CELL);
  FillCellSizeCombo(IDC_CELL_SIZE);
  SelectByData(IDC_CELL_SIZE, CellSize);
  SetChecked(IDC_SHOW_STAT, ShowStat);
  // Any other stored distance shows no choice and stays as it is.
  MouseTolerance = settings.MouseTolerance;
  FillCombo(IDC_MOUSE_TOLERANCE, kMouseChoices);
  SelectByData(IDC_MOUSE_TOLERANCE, static_cast<LPARAM>(MouseTolerance));
  LoadColours();
}

void CDlgPageGeneral::RefillPalettes() {
  const std::wstring label = LoadResourceString(IDS_PALETTE_DEFAULT), extra = LoadResourceString(IDS_PALETTE_EDIT);
  LockedPaletteStore store;
  FillPaletteCombo(Item(IDC_PALETTE_LIST), *store, label.c_str(), extra.c_str());
}

void CDlgPageGeneral::EditPalettes() {
  CDlgPaletteEdit dialog;
  if (dialog.DoModal(Handle()) == IDOK) {
    RefillPalettes();
    Load();
    ApplyCurrentPalette(*LockedPaletteStore());
  } else {
    // The list still shows "Edit...": put the current palette back.
    SyncPalettes(false);
  }
}

void CDlgPageGeneral::Save() {
  SaveRuleBoxes(RuleBorn, RuleSurvive);
  AutoReset = IsChecked(IDC_AUTO_RESET);
  ResetMode = static_cast<int32_t>(SelectedData(IDC_FILL_MODE, ResetMode));
  FieldDrawMode = IsChecked(IDC_DRAW_FIELD) ? 1 : 0;
  CellSize = static_cast<int32_t>(SelectedData(IDC_CELL_SIZE, CellSize));
  ShowStat = IsChecked(IDC_SHOW_STAT);
  MouseTolerance = static_cast<uint32_t>(SelectedData(IDC_MOUSE_TOLERANCE, static_cast<LPARAM>(MouseTolerance)));
}

bool CDlgPageGeneral::OnGradientNotify(const NMHDR& header, LRESULT& result) {
  // A double-click on the bar asks to create a peg at no index.
  if (header.code != GCN_CREATEPEG || reinterpret_cast<const GradientNotify*>(&header)->index != PEG_NONE)
    return false;
  EditPalettes();
  result = 1;  // this page's gradient is not edited in place
  return true;
}

bool CDlgPageGeneral::OnCommand(int id, int code) {
  if (id == IDC_PALETTE_LIST && code == CBN_SELENDOK) {
    if (SelectedData(IDC_PALETTE_LIST, 0) == -1) {
      EditPalettes();
    } else {
      ChoosePalette();
    }
    return true;
  }
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
  const bool click = code == BN_CLICKED;
  const bool chosen =
      code == CBN_SELENDOK && (id == IDC_FILL_MODE || id == IDC_CELL_SIZE || id == IDC_MOUSE_TOLERANCE);
  if (!click && !chosen) return false;
  VivarnTaskBse& task = Task();
  if (id == IDC_RESET_NOW) {
    task.ResetPopulation();
    return true;
  }
  Save();
  if (ApplyRuleBox(id) || ApplyDrawingControl(id, FieldDrawMode, CellSize, ShowStat)) return true;
  switch (id) {
    case IDC_AUTO_RESET: task.SetAutoReset(AutoReset); return true;
    case IDC_FILL_MODE:
      if (ResetMode == 4 && !PatternChosen()) {
        // "Pattern" with none chosen would fill as the full field: ask for one.
        ChoosePattern();
        Load();
      } else {
        task.SetResetMode(ResetMode);
      }
      return true;
    case IDC_PATTERN_CHOOSE:
      ChoosePattern();
      // The pattern may have brought its rule.
      Load();
      return true;
    // Read when the saver next covers the screen.
    case IDC_MOUSE_TOLERANCE: task.SetMouseTolerance(MouseTolerance); return true;
    default: return false;
  }
}
