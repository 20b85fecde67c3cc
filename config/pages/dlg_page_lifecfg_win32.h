// The "Rules" page (template 103): the birth and survival rule with its name,
// whether dead cells fade, and the fading step on a trackbar (see
// trackbar_mapping.h).
#pragma once

#include "config/pages/config_page_win32.h"

class CDlgPageLifeCfg : public CConfigPage {
 public:
  CDlgPageLifeCfg();

  void OnIdle() override;

  // Exchange members.
  uint8_t RuleBorn[9] = {};
  uint8_t RuleSurvive[9] = {};
  bool DieSlowly = true;
  float DieStep = 0.9f;

 private:
  void OnInitPage() override;
  bool OnCommand(int id, int code) override;
  // The fading trackbar's WM_HSCROLL.
  bool OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // The rule alone, also on activation: the General page edits it while
  // this page is hidden, and the fading controls have no other page.
  void RefreshPage() override;
  void Save();
  // Moves the step to the trackbar's position, writes it to the task, shows it.
  void ApplyTrackbar();
};
