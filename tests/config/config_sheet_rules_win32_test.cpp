// The Rules page: the fading trackbar and the "Cells die slowly" box.

#include "tests/config/config_sheet_fixture_win32.h"

TEST_F(ConfigSheetTest, RulesFadingTrackbarShowsZombieAndSteps) {
  Open(1);
  Select(1);
  HWND page = Page();
  Scroll(page, 100, TB_THUMBTRACK);
  EXPECT_EQ(Text(GetDlgItem(page, IDC_TRACKBAR_LABEL)), L"Zombie");
  EXPECT_FLOAT_EQ(Task().DieStep, 1.0f);
  Scroll(page, 1, TB_LINEUP);
  EXPECT_EQ(Text(GetDlgItem(page, IDC_TRACKBAR_LABEL)), L"0.001");
  EXPECT_FLOAT_EQ(Task().DieStep, 0.001f);
  // End-of-track does not apply.
  Scroll(page, 60, TB_ENDTRACK);
  EXPECT_FLOAT_EQ(Task().DieStep, 0.001f);
  // Unticking "Cells die slowly" disables the trackbar at idle time.
  SendMessageW(GetDlgItem(page, IDC_DIE_SLOWLY), BM_CLICK, 0, 0);
  EXPECT_FALSE(Task().DieSlowly);
  ASSERT_TRUE(pump->Until([&] { return !IsWindowEnabled(GetDlgItem(page, IDC_TRACKBAR)); }));
}
