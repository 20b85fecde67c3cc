// The Field page: the speed trackbar and the reset period.
#include <string>

#include "tests/config/config_sheet_fixture_win32.h"

TEST_F(ConfigSheetTest, FieldSpeedTrackbarSetsLifeSpeedAndLabel) {
  Open(1);
  Select(2);
  HWND page = Page();
  ASSERT_NE(GetDlgItem(page, IDC_RESET_PERIOD), nullptr);
  Scroll(page, 50, TB_THUMBPOSITION);
  EXPECT_EQ(Text(GetDlgItem(page, IDC_TRACKBAR_LABEL)), L"As fast as posible");
  EXPECT_EQ(Task().LifeSpeed, 0.0f);
  Scroll(page, 10, TB_THUMBTRACK);
  EXPECT_EQ(Text(GetDlgItem(page, IDC_TRACKBAR_LABEL)), L"10 generations/s");
  EXPECT_FLOAT_EQ(Task().LifeSpeed, 100.0f);
  // Every other way of moving it: keys, clicks on the channel, the wheel and
  // the end of a drag.
  int position = 20;
  for (int code : {TB_LINEDOWN, TB_LINEUP, TB_PAGEDOWN, TB_PAGEUP, TB_TOP, TB_BOTTOM, TB_ENDTRACK}) {
    Scroll(page, position, code);
    EXPECT_FLOAT_EQ(Task().LifeSpeed, 1000.0f / static_cast<float>(position)) << "code " << code;
    EXPECT_EQ(Text(GetDlgItem(page, IDC_TRACKBAR_LABEL)), std::to_wstring(position) + L" generations/s");
    ++position;
  }
  // A real key press: the trackbar moves its thumb and reports it.
  HWND trackbar = GetDlgItem(page, IDC_TRACKBAR);
  SendMessageW(trackbar, WM_KEYDOWN, VK_LEFT, 0);
  SendMessageW(trackbar, WM_KEYUP, VK_LEFT, 0);
  EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), position - 2);
  EXPECT_FLOAT_EQ(Task().LifeSpeed, 1000.0f / static_cast<float>(position - 2));
}

TEST_F(ConfigSheetTest, NonNumericPeriodBeepsRefocusesAndKeepsThePeriod) {
  Open(1);
  Select(2);
  HWND page = Page();
  int beeps = 0;
  sheet->field.beep = [&] { ++beeps; };
  HWND edit = GetDlgItem(page, IDC_RESET_PERIOD);
  HWND ok = GetDlgItem(sheet->Handle(), IDOK);
  SetFocus(ok);
  SetWindowTextW(edit, L"250");
  EXPECT_EQ(beeps, 0);
  EXPECT_EQ(Task().ResetPeriod, 250u);
  SetWindowTextW(edit, L"abc");
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(Task().ResetPeriod, 250u);
  SetWindowTextW(edit, L"");
  EXPECT_EQ(beeps, 2);
  EXPECT_EQ(Task().ResetPeriod, 250u);
  // Leaving the emptied edit shows the period still in use.
  SetFocus(ok);
  EXPECT_EQ(Text(edit), L"250");
  EXPECT_EQ(Task().ResetPeriod, 250u);
  SetWindowTextW(edit, L"0");
  EXPECT_EQ(beeps, 2);
  EXPECT_EQ(Task().ResetPeriod, 0u);
}

TEST_F(ConfigSheetTest, FieldPageShowsWhatGeneralChangedWhileHidden) {
  Open(1);
  Select(2);
  HWND field = Page();
  HWND combo = GetDlgItem(field, IDC_FILL_MODE);
  const auto shownMode = [&] { return SendMessageW(combo, CB_GETITEMDATA, SendMessageW(combo, CB_GETCURSEL, 0, 0), 0); };
  const LRESULT fill = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  Select(0);
  HWND general = Page();
  SendMessageW(GetDlgItem(general, IDC_AUTO_RESET), BM_CLICK, 0, 0);
  Choose(general, IDC_FILL_MODE, fill == 2 ? 1 : 2);
  ASSERT_NE(IsDlgButtonChecked(field, IDC_AUTO_RESET) == BST_CHECKED, Task().AutoReset);
  ASSERT_NE(shownMode(), Task().Settings().EffectiveResetMode());
  Select(2);
  EXPECT_EQ(IsDlgButtonChecked(field, IDC_AUTO_RESET) == BST_CHECKED, Task().AutoReset);
  EXPECT_EQ(shownMode(), Task().Settings().EffectiveResetMode());
}
