// What the General and Video pages share: the background colour button and
// the palette list with the gradient control that shows its current palette.
// A new colour goes to the running Life task, a chosen palette becomes the
// store's current one and the task's colours, each when the user makes it
// and never again: the sheet's OK then saves exactly the last choices.
#pragma once

#include <string>

#include "config/controls/color_button_win32.h"
#include "config/pages/config_page_win32.h"
#include "config/controls/gradient_ctrl_win32.h"
#include "config/controls/gradient_view.h"

// The task keeps four floats, the button a 0x00BBGGRR colour.
COLORREF ColourFromBkColor(const float bk[4]);
void ApplyBkColorFromButton(const CColorButton& button);
// The stored default (0, 0, 0.3, 1) as a colour.
constexpr COLORREF kDefaultBkColour = 0x4C0000;

class CColoursPage : public CConfigPage {
 public:
  explicit CColoursPage(UINT templateId);

  COLORREF BkColour = kDefaultBkColour;  // exchange member
  CColorButton colourButton;
  CGradientCtrl gradient;
  // The control showing the current palette, once one is attached to 1043.
  IGradientView* gradientView = nullptr;

 protected:
  // Attaches the controls, fills the list, loads.
  void OnInitPage() override;
  // The colour button's messages and the gradient control's notifications.
  bool OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  virtual void Load() = 0;
  virtual void Save() = 0;
  virtual void RefillPalettes() = 0;
  // Follows the list; with `commit` the shown gradient is first stored into
  // the palette that was current.
  virtual void SyncPalettes(bool commit);
  // Called once the control is attached, for the page's own look.
  virtual void SetUpGradient() {}
  virtual bool OnGradientNotify(const NMHDR& header, LRESULT& result) = 0;

  // The button from BkColour; the list and the control follow the store.
  void LoadColours();
  // The button's new colour becomes BkColour and the task's background.
  void ApplyBackground();
  // The list's selection becomes the current palette (a palette without a
  // GUID never does), the control shows it and the task takes its colours.
  // Nothing the control shows is written back: edits reached their palette
  // as they were made.
  void ChoosePalette();

 private:
  // The text the palette list's tooltip shows while it is up.
  std::wstring paletteTipText;

  void RefreshPage() override {
    RefillPalettes();
    Load();
  }
};
