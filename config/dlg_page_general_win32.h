// The "General" page (template 106), present in both the simple and the
// advanced sheet: the rule, resets, fill mode, drawing mode, cell size,
// statistics, the background colour and the palette, shown but not edited
// here.
#pragma once

#include "config/color_button_win32.h"
#include "config/config_page_win32.h"
#include "config/gradient_ctrl_win32.h"
#include "palette/gradient_view.h"

// Background colour button shared by the General and Video pages: the task
// keeps four floats, the button a 0x00BBGGRR colour.
COLORREF ColourFromBkColor(const float bk[4]);
void ApplyBkColorFromButton(const CColorButton& button);
// The stored default (0, 0, 0.3, 1) as a colour.
constexpr COLORREF kDefaultBkColour = 0x4C0000;

class CDlgPageGeneral : public CConfigPage {
 public:
  CDlgPageGeneral();

  bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;

  // Exchange members.
  uint8_t RuleBorn[9] = {};
  uint8_t RuleSurvive[9] = {};
  bool AutoReset = true;
  int32_t ResetMode = 0;
  int32_t FieldDrawMode = 0;
  int32_t CellSize = 10;
  bool ShowStat = false;
  COLORREF BkColour = kDefaultBkColour;

  CColorButton colourButton;
  // Shows the current palette; no editing here, a double-click on the bar
  // opens the palette setup dialog instead.
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
  // "Edit..." or a double-click on the gradient: the palette setup dialog,
  // then the list and colours follow it.
  void EditPalettes();
  void AttachGradient();
};
