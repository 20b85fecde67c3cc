#include "config/pages/dlg_page_video_win32.h"

#include "config/pages/dlg_input_text_win32.h"
#include "config/pages/palette_list_win32.h"
#include "engine/core/resource_loader_win32.h"
#include "life/vivarn_task.h"
#include "resources/resource.h"

CDlgPageVideo::CDlgPageVideo() : CColoursPage(IDD_PAGE_VIDEO) {}

// The "Monitors:" choices; each item's data is the setting's value.
static constexpr ComboItem kMonitorChoices[] = {
    {IDS_MONITORS_SPAN, 0}, {IDS_MONITORS_PRIMARY, 1}, {IDS_MONITORS_EACH, 2}};
// The "On battery:" choices, by the setting's value.
static constexpr ComboItem kBatteryChoices[] = {
    {IDS_BATTERY_FULL_SPEED, 0}, {IDS_BATTERY_HALF_RATE, 1}, {IDS_BATTERY_BLACK, 2}};

void CDlgPageVideo::SetUpGradient() {
  gradient.SetBackgroundColour(GetSysColor(COLOR_WINDOW));
  gradient.SetCustomText(LoadResourceString(IDS_COLOUR_CUSTOM));
}

bool CDlgPageVideo::OnGradientNotify(const NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case GCN_PEGMOVED:
    case GCN_PEGDROPPED:
    case GCN_PEGEDITED:
    case GCN_PEGCREATED:
    case GCN_PEGDELETED:
      // The control's gradient becomes the current palette's and the task's colours.
      ApplyEditedGradient(*LockedPaletteStore(), gradient.GetGradient());
      result = 0;
      return true;
    default:
      // Creating, recolouring and deleting are not vetoed.
      return false;
  }
}

void CDlgPageVideo::Load() {
  const LifeSettings settings = Task().Settings();
  FieldDrawMode = settings.FieldDrawMode;
  CellSize = settings.CellSize;
  ShowStat = settings.ShowStat;
  ShowFPS = settings.ShowFPS;
  VSyncOn = settings.VSyncOn != 0;
  BkColour = ColourFromBkColor(settings.BkColor);
  Monitors = settings.EffectiveMonitors();
  CheckRadioButton(Handle(), IDC_DRAW_BY_CELL, IDC_DRAW_FIELD, FieldDrawMode == 1 ? IDC_DRAW_FIELD : IDC_DRAW_BY_CELL);
  FillCellSizeCombo(IDC_CELL_SIZE);
  SelectByData(IDC_CELL_SIZE, CellSize);
  SetChecked(IDC_SHOW_STAT, ShowStat);
  SetChecked(IDC_SHOW_FPS, ShowFPS);
  SetChecked(IDC_VSYNC, VSyncOn);
  FillCombo(IDC_MONITORS, kMonitorChoices);
  SelectByData(IDC_MONITORS, Monitors);
  ShowClock = settings.ShowClock;
  SetChecked(IDC_SHOW_CLOCK, ShowClock);
  // What the full-screen run does with it: a number no choice offers shows as the default.
  OnBattery = settings.OnBattery <= 2 ? settings.OnBattery : 1;
  FillCombo(IDC_ON_BATTERY, kBatteryChoices);
  SelectByData(IDC_ON_BATTERY, static_cast<int32_t>(OnBattery));
  SmoothGenerations = settings.SmoothGenerations;
  SetChecked(IDC_SMOOTH_GENERATIONS, SmoothGenerations);
  DrawPathKnown(Task().DrawPath() == FieldDrawPath::Shaders);
  LoadColours();
}

void CDlgPageVideo::DrawPathKnown(bool shaders) { Enable(IDC_SMOOTH_GENERATIONS, shaders); }

void CDlgPageVideo::RefillPalettes() {
  const std::wstring label = LoadResourceString(IDS_PALETTE_DEFAULT);
  LockedPaletteStore store;
  FillPaletteCombo(Item(IDC_PALETTE_LIST), *store, label.c_str(), nullptr);
}

void CDlgPageVideo::SyncPalettes(bool commit) {
  CColoursPage::SyncPalettes(commit);
  Enable(IDC_DELETE, PaletteDeletable(Item(IDC_PALETTE_LIST), *LockedPaletteStore()));
}

void CDlgPageVideo::SaveAs() {
  CDlgInputText name;
  name.SetText(SelectedComboText(Item(IDC_PALETTE_LIST)));
  if (name.DoModal(Handle()) != IDOK) return;
  {
    LockedPaletteStore store;
    AddShownPalette(*store, gradientView, name.GetText().c_str());
  }
  RefillPalettes();
  Load();
}

void CDlgPageVideo::DeleteSelected() {
  LockedPaletteStore store;
  if (!DeleteSelectedPalette(Item(IDC_PALETTE_LIST), *store)) return;
  RefillPalettes();
  Load();
  ApplyCurrentPalette(*store);
}

void CDlgPageVideo::Save() {
  FieldDrawMode = IsChecked(IDC_DRAW_FIELD) ? 1 : 0;
  CellSize = static_cast<int32_t>(SelectedData(IDC_CELL_SIZE, CellSize));
  ShowStat = IsChecked(IDC_SHOW_STAT);
  ShowFPS = IsChecked(IDC_SHOW_FPS);
  VSyncOn = IsChecked(IDC_VSYNC);
  Monitors = static_cast<int32_t>(SelectedData(IDC_MONITORS, Monitors));
  ShowClock = IsChecked(IDC_SHOW_CLOCK);
  OnBattery = static_cast<uint32_t>(SelectedData(IDC_ON_BATTERY, static_cast<int32_t>(OnBattery)));
  SmoothGenerations = IsChecked(IDC_SMOOTH_GENERATIONS);
}

bool CDlgPageVideo::OnCommand(int id, int code) {
  if (id == IDC_SAVE_AS && code == BN_CLICKED) {
    SaveAs();
    return true;
  }
  if (id == IDC_DELETE && code == BN_CLICKED) {
    DeleteSelected();
    return true;
  }
  if (id == IDC_PALETTE_LIST && code == CBN_SELENDOK) {
    ChoosePalette();
    return true;
  }
  const bool click = code == BN_CLICKED;
  const bool chosen = code == CBN_SELENDOK && (id == IDC_CELL_SIZE || id == IDC_MONITORS || id == IDC_ON_BATTERY);
  if (!click && !chosen) return false;
  Save();
  if (id == IDC_ON_BATTERY) {
    // Takes effect when the saver next covers the screen.
    Task().SetOnBattery(OnBattery);
    return true;
  }
  if (id == IDC_MONITORS) {
    // Takes effect when the saver next covers the screen.
    Task().SetMonitors(Monitors);
    return true;
  }
  if (ApplyDrawingControl(id, FieldDrawMode, CellSize, ShowStat)) return true;
  switch (id) {
    case IDC_SHOW_FPS: Task().SetShowFPS(ShowFPS); return true;
    case IDC_SHOW_CLOCK: Task().SetShowClock(ShowClock); return true;
    case IDC_SMOOTH_GENERATIONS: Task().SetSmoothGenerations(SmoothGenerations); return true;
    // The program's task host turns it into a request the kernel thread,
    // which owns the preview's GL context, carries out at its next frame.
    case IDC_VSYNC: Task().SetVSyncOn(VSyncOn ? 1 : 0); return true;
    default: return false;
  }
}
