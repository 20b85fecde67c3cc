#include "config/dlg_page_video_win32.h"

#include <mutex>

#include "config/dlg_page_general_win32.h"
#include "config/dlg_input_text_win32.h"
#include "config/palette_ui_win32.h"
#include "config/resource_loader_win32.h"
#include "engine/gfx/gl_window_settings.h"
#include "life/vivarn_task.h"
#include "palette/palette_combo_win32.h"
#include "resources/resource.h"

CDlgPageVideo::CDlgPageVideo() : CConfigPage(IDD_PAGE_VIDEO) {
  // Before any page window exists: the template's control is only made when
  // its class is known.
  CGradientCtrl::RegisterControlClass();
}

void CDlgPageVideo::AttachGradient() {
  gradientView = nullptr;
  // DS_NOFAILCREATE: without the control the page still works on the store.
  if (!gradient.Attach(Item(IDC_GRADIENT))) return;
  gradient.SetBackgroundColour(GetSysColor(COLOR_WINDOW));
  gradient.SetCustomText(LoadResourceString(IDS_COLOUR_CUSTOM));
  gradientView = &gradient;
}

void CDlgPageVideo::ApplyEditedGradient() {
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  const CGradient& shown = gradient.GetGradient();
  if (PaletteRecord* current = store.FindByGuid(store.currentGuid)) current->gradient.CopyFrom(shown);
  RebuildColourTable(shown);
}

bool CDlgPageVideo::OnGradientNotify(const NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case GCN_PEGMOVED:
    case GCN_PEGDROPPED:
    case GCN_PEGEDITED:
      ApplyEditedGradient();
      result = 0;
      return true;
    default:
      // Creating, recolouring and deleting are not vetoed.
      return false;
  }
}

void CDlgPageVideo::ApplyVSync() {
  // Only the setting and a request here: this is not the thread that owns
  // the preview's GL context, the kernel thread applies it at its next frame.
  GLWindowSettings::Instance()->RequestSwapInterval(VSyncOn ? 1 : 0);
}

void CDlgPageVideo::Load() {
  {
    VivarnTaskBse& task = Task();
    std::lock_guard<std::recursive_mutex> guard(task.lock);
    FieldDrawMode = task.FieldDrawMode;
    CellSize = task.CellSize;
    ShowStat = task.ShowStat;
    ShowFPS = task.ShowFPS;
    BkColour = ColourFromBkColor(task.BkColor);
  }
  VSyncOn = GLWindowSettings::Instance()->swapInterval != 0;
  CheckRadioButton(Handle(), IDC_DRAW_BY_CELL, IDC_DRAW_FIELD, FieldDrawMode == 1 ? IDC_DRAW_FIELD : IDC_DRAW_BY_CELL);
  FillCellSizeCombo(IDC_CELL_SIZE);
  SelectByData(IDC_CELL_SIZE, CellSize);
  SetChecked(IDC_SHOW_STAT, ShowStat);
  SetChecked(IDC_SHOW_FPS, ShowFPS);
  SetChecked(IDC_VSYNC, VSyncOn);
  colourButton.SetColour(BkColour);
  SyncPalettes(false);
}

void CDlgPageVideo::RefillPalettes() {
  const std::wstring label = LoadResourceString(IDS_PALETTE_DEFAULT);
  FillPaletteCombo(Item(IDC_PALETTE_LIST), *CPaletteContainer::Instance().get(), label.c_str(), nullptr);
}

void CDlgPageVideo::SyncPalettes(bool commit) {
  SyncPaletteCombo(Item(IDC_PALETTE_LIST), *CPaletteContainer::Instance().get(), commit, gradientView);
  Enable(IDC_DELETE, PaletteDeletable(Item(IDC_PALETTE_LIST)));
}

void CDlgPageVideo::SaveAs() {
  CDlgInputText name;
  name.SetText(SelectedComboText(Item(IDC_PALETTE_LIST)));
  if (name.DoModal(Handle()) != IDOK) return;
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  const CGradient* shown = gradientView != nullptr ? &gradientView->GetGradient() : CurrentGradient(store);
  CGradient gradient;
  if (shown != nullptr) gradient.CopyFrom(*shown);
  const int32_t index = store.AddPalette(gradient, name.GetText().c_str());
  if (index >= 0) store.currentGuid = store.palettes[static_cast<size_t>(index)]->guid;
  RefillPalettes();
  Load();
}

void CDlgPageVideo::DeleteSelected() {
  HWND combo = Item(IDC_PALETTE_LIST);
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (selected < 0) return;
  const LRESULT removed = SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
  if (removed < 0 || removed >= store.Count()) return;
  SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  const LRESULT next = selected < count ? selected : count - 1;
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(next), 0);
  // Identity, not index: removing shifts the indices after it.
  const LRESULT nextIndex = next >= 0 ? SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(next), 0) : -1;
  PaletteGuid nextGuid;
  if (nextIndex >= 0 && nextIndex < store.Count()) nextGuid = store.palettes[static_cast<size_t>(nextIndex)]->guid;
  store.RemoveAt(static_cast<int32_t>(removed));
  store.currentGuid = nextGuid;
  RefillPalettes();
  Load();
  if (const CGradient* current = CurrentGradient(store)) RebuildColourTable(*current);
}

void CDlgPageVideo::Save() {
  FieldDrawMode = IsChecked(IDC_DRAW_FIELD) ? 1 : 0;
  CellSize = static_cast<int32_t>(SelectedData(IDC_CELL_SIZE, CellSize));
  ShowStat = IsChecked(IDC_SHOW_STAT);
  ShowFPS = IsChecked(IDC_SHOW_FPS);
  VSyncOn = IsChecked(IDC_VSYNC);
  BkColour = colourButton.GetColour();
  ApplyBkColorFromButton(colourButton);
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  SyncPalettes(true);
  const CGradient* shown = gradientView != nullptr ? &gradientView->GetGradient() : CurrentGradient(store);
  if (shown != nullptr) RebuildColourTable(*shown);
}

bool CDlgPageVideo::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      colourButton.Attach(Item(IDC_BK_COLOR));
      colourButton.SetDefaultColour(kDefaultBkColour);
      AttachGradient();
      RefillPalettes();
      Load();
      result = TRUE;
      return true;
    case WM_DESTROY:
      // The control goes with the page (the sheet removes and rebuilds it).
      gradientView = nullptr;
      return false;
    case WM_DRAWITEM:
      if (wParam == IDC_BK_COLOR) return ReflectNotifications(message, wParam, lParam, result);
      return false;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == IDC_BK_COLOR) {
        if (code == CLRN_CHANGED) {
          Save();
          return true;
        }
        return ReflectNotifications(message, wParam, lParam, result);
      }
      if (id == IDC_SAVE_AS && code == BN_CLICKED) {
        SaveAs();
        return true;
      }
      if (id == IDC_DELETE && code == BN_CLICKED) {
        DeleteSelected();
        return true;
      }
      const bool click = code == BN_CLICKED;
      const bool chosen = code == CBN_SELENDOK && (id == IDC_CELL_SIZE || id == IDC_PALETTE_LIST);
      if (!click && !chosen) return false;
      Save();
      VivarnTaskBse& task = Task();
      switch (id) {
        case IDC_DRAW_BY_CELL:
        case IDC_DRAW_FIELD: task.SetFieldDrawMode(FieldDrawMode); return true;
        case IDC_CELL_SIZE:
          task.SetCellSize(CellSize);
          task.ApplyCellSize();
          return true;
        case IDC_SHOW_STAT: task.SetShowStat(ShowStat); return true;
        case IDC_SHOW_FPS: task.SetShowFPS(ShowFPS); return true;
        case IDC_VSYNC: ApplyVSync(); return true;
        default: return false;
      }
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_GRADIENT && header->hwndFrom != nullptr && header->hwndFrom == gradient.Handle())
        return OnGradientNotify(*header, result);
      return HandlePageNotify(lParam, result);
    }
    default:
      return false;
  }
}
