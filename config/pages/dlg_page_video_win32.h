// The "Video" page (template 104), advanced sheet only: drawing mode, cell
// size, the overlays, vertical sync, how full screen uses several monitors,
// the clock, what full screen does on battery, smooth generations (where
// shaders draw the field), the background colour and
// the palette,
// whose gradient is edited in place: every peg change goes straight into the
// current palette and the running Life task's colours.
#pragma once

#include "config/pages/colours_page_win32.h"

class CDlgPageVideo : public CColoursPage {
 public:
  CDlgPageVideo();

  // Exchange members.
  int32_t FieldDrawMode = 0;
  int32_t CellSize = 10;
  bool ShowStat = false;
  bool ShowFPS = false;
  bool VSyncOn = false;
  int32_t Monitors = 0;
  bool ShowClock = false;
  uint32_t OnBattery = 1;
  bool SmoothGenerations = false;

 private:
  bool OnCommand(int id, int code) override;
  void Load() override;
  void Save() override;
  void RefillPalettes() override;
  // Also enables "Delete" unless the built-in "Default" palette is selected.
  void SyncPalettes(bool commit) override;
  void SetUpGradient() override;
  bool OnGradientNotify(const NMHDR& header, LRESULT& result) override;
  // "Smooth generations" is enabled only where shaders draw the field.
  void DrawPathKnown(bool shaders) override;
  void SaveAs();
  void DeleteSelected();
};
