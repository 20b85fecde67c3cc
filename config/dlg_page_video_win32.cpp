#include "config/dlg_page_video_win32.h"

#include <mutex>

#include "config/dlg_page_general_win32.h"
#include "life/vivarn_task.h"
#include "resources/resource.h"

CDlgPageVideo::CDlgPageVideo() : CConfigPage(IDD_PAGE_VIDEO) {}

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
  CheckRadioButton(Handle(), IDC_DRAW_BY_CELL, IDC_DRAW_FIELD, FieldDrawMode == 1 ? IDC_DRAW_FIELD : IDC_DRAW_BY_CELL);
  FillCellSizeCombo(IDC_CELL_SIZE);
  SelectByData(IDC_CELL_SIZE, CellSize);
  SetChecked(IDC_SHOW_STAT, ShowStat);
  SetChecked(IDC_SHOW_FPS, ShowFPS);
  colourButton.SetColour(BkColour);
}

void CDlgPageVideo::Save() {
  FieldDrawMode = IsChecked(IDC_DRAW_FIELD) ? 1 : 0;
  CellSize = static_cast<int32_t>(SelectedData(IDC_CELL_SIZE, CellSize));
  ShowStat = IsChecked(IDC_SHOW_STAT);
  ShowFPS = IsChecked(IDC_SHOW_FPS);
  BkColour = colourButton.GetColour();
  ApplyBkColorFromButton(colourButton);
}

bool CDlgPageVideo::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      colourButton.Attach(Item(IDC_BK_COLOR));
      colourButton.SetDefaultColour(kDefaultBkColour);
      Load();
      result = TRUE;
      return true;
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
      const bool click = code == BN_CLICKED;
      const bool chosen = code == CBN_SELENDOK && id == IDC_CELL_SIZE;
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
        default: return false;
      }
    }
    case WM_NOTIFY:
      switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
        case PSN_SETACTIVE:
          Load();
          result = 0;
          return true;
        case PSN_KILLACTIVE:
          Save();
          result = FALSE;
          return true;
        case PSN_APPLY:
          Save();
          result = PSNRET_NOERROR;
          return true;
        default:
          return false;
      }
    default:
      return false;
  }
}
