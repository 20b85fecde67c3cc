// The "Video" page (template 104), advanced sheet only: drawing mode, cell
// size, the overlays and the background colour.
#pragma once

#include "config/color_button_win32.h"
#include "config/config_page_win32.h"

class CDlgPageVideo : public CConfigPage {
 public:
  CDlgPageVideo();

  bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;

  // Exchange members.
  int32_t FieldDrawMode = 0;
  int32_t CellSize = 10;
  bool ShowStat = false;
  bool ShowFPS = false;
  COLORREF BkColour = 0x4C0000;

  CColorButton colourButton;

 private:
  void Load();
  void Save();
};
