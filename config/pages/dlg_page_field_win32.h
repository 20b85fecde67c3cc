// The "Field" page (template 105): periodic and automatic reseeding, the
// initial fill mode with its "Pattern..." button, and the generation speed on
// a trackbar.
#pragma once

#include <functional>

#include "config/pages/config_page_win32.h"

class CDlgPageField : public CConfigPage {
 public:
  CDlgPageField();

  void OnIdle() override;

  // Exchange members.
  bool PeriodicResetOn = false;
  uint32_t ResetPeriod = 1000;
  bool AutoReset = true;
  int32_t ResetMode = 0;
  float LifeSpeed = 0.0f;

  // How a period that is not a number is signalled (a beep; tests count it).
  std::function<void()> beep = [] { MessageBeep(MB_OK); };

 private:
  void OnInitPage() override;
  // Reloads what the General page shares with this one.
  void RefreshPage() override;
  bool OnCommand(int id, int code) override;
  // The speed trackbar's WM_HSCROLL.
  bool OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Returns false when the period text was not a number (the period then
  // stays as it was).
  bool Save();
  // Writes ResetPeriod into the edit without taking it for a user edit.
  void ShowPeriod();
  void ApplySpeed(int32_t position);

  // Set while the page itself writes the period, whose EN_CHANGE is not a user edit.
  bool writingPeriod = false;
};
