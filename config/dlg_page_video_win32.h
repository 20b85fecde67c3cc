// The "Video" page (template 104), advanced sheet only: drawing mode, cell
// size, the overlays, vertical sync, the background colour and the palette,
// whose gradient is edited in place: every peg change goes straight into the
// current palette and the running Life task's colours.
#pragma once

#include "config/color_button_win32.h"
#include "config/config_page_win32.h"
#include "config/gradient_ctrl_win32.h"
#include "palette/gradient_view.h"

class CDlgPageVideo : public CConfigPage {
 public:
  CDlgPageVideo();

  bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;

  // Exchange members.
  int32_t FieldDrawMode = 0;
  int32_t CellSize = 10;
  bool ShowStat = false;
  bool ShowFPS = false;
  bool VSyncOn = false;
  COLORREF BkColour = 0x4C0000;

  CColorButton colourButton;
  CGradientCtrl gradient;
  // The control showing the current palette, once one is attached to 1043.
  IGradientView* gradientView = nullptr;

 private:
  void Load();
  void Save();
  void RefillPalettes();
  void RefreshPage() override {
    RefillPalettes();
    Load();
  }
  void StorePage() override { Save(); }
  // Follows the list (storing the shown gradient first with `commit`) and
  // enables "Delete" unless "Default" is selected.
  void SyncPalettes(bool commit);
  void SaveAs();
  void DeleteSelected();
  // The control's gradient becomes the current palette's and the task's colours.
  void ApplyEditedGradient();
  bool OnGradientNotify(const NMHDR& header, LRESULT& result);
  void AttachGradient();
  // The preview's vertical sync follows the checkbox.
  void ApplyVSync();
};
