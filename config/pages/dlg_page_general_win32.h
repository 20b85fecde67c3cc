// The "General" page (template 106), present in both the simple and the
// advanced sheet: the rule with its name, resets, fill mode, drawing mode,
// cell size, statistics, the background colour and the palette, shown but
// not edited here; and how far the mouse must move to end full screen.
#pragma once

#include "config/pages/colours_page_win32.h"

class CDlgPageGeneral : public CColoursPage {
 public:
  CDlgPageGeneral();

  // Exchange members.
  uint8_t RuleBorn[9] = {};
  uint8_t RuleSurvive[9] = {};
  bool AutoReset = true;
  int32_t ResetMode = 0;
  int32_t FieldDrawMode = 0;
  int32_t CellSize = 10;
  bool ShowStat = false;
  uint32_t MouseTolerance = 0;

 private:
  bool OnCommand(int id, int code) override;
  void Load() override;
  void Save() override;
  void RefillPalettes() override;
  // The gradient is shown, not edited, here: a double-click on the bar opens
  // the palette setup dialog instead.
  bool OnGradientNotify(const NMHDR& header, LRESULT& result) override;
  // "Edit..." or a double-click on the gradient: the palette setup dialog,
  // then the list and colours follow it.
  void EditPalettes();
};
