// What the General and Video pages share: the background colour button and
// the palette list with the gradient control that shows its current palette.
// Both write the colour and the shown palette into the running Life task
// every time they save.
#pragma once

#include "config/color_button_win32.h"
#include "config/config_page_win32.h"
#include "config/gradient_ctrl_win32.h"
#include "palette/gradient_view.h"

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
  // The page's creation (attach the controls, fill the list, load), the
  // colour button's messages and the gradient control's notifications.
  // False for every other message.
  bool ProcessColourMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  virtual void Load() = 0;
  virtual void Save() = 0;
  virtual void RefillPalettes() = 0;
  // Follows the list; with `commit` the shown gradient is first stored into
  // the palette that was current.
  virtual void SyncPalettes(bool commit);
  // Called once the control is attached, for the page's own look.
  virtual void SetUpGradient() {}
  virtual bool OnGradientNotify(const NMHDR& header, LRESULT& result) = 0;

  // The button from BkColour; the list and the control without commit.
  void LoadColours();
  // BkColour and the task's background from the button, the list with
  // commit, and the task's colours from the gradient shown.
  void SaveColours();

 private:
  void RefreshPage() override {
    RefillPalettes();
    Load();
  }
  void StorePage() override { Save(); }
};
