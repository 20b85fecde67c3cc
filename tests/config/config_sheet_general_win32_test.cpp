// The General page: each control applied to the running task, and the
// palette list and gradient that open the palette set-up.
#include <string>
#include <vector>

#include "tests/config/config_sheet_fixture_win32.h"

TEST_F(ConfigSheetTest, LargeCellSizeResizesTheField) {
  Open(0);
  HWND page = Page();
  HWND combo = GetDlgItem(page, IDC_CELL_SIZE);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 5);
  wchar_t text[64] = {};
  SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
  ASSERT_STREQ(text, L"Large");
  Choose(page, IDC_CELL_SIZE, 1);
  EXPECT_EQ(Task().CellSize, 20);
  EXPECT_EQ(Field(Task()).columns, Task().CurrentOutputSize().width / 20);
  EXPECT_EQ(Field(Task()).rows, Task().CurrentOutputSize().height / 20);
}

TEST_F(ConfigSheetTest, GeneralPageAppliesEachControlToTheTask) {
  Open(0);
  HWND page = Page();
  HWND rule = GetDlgItem(page, IDC_RULE_LIST);
  SendMessageW(GetDlgItem(page, IDC_BORN_0 + 6), BM_CLICK, 0, 0);
  EXPECT_EQ(Task().RuleBorn[6], 1);
  EXPECT_EQ(SelectedComboText(rule), L"HighLife");
  EXPECT_EQ(Text(GetDlgItem(page, IDC_RULE_NOTATION)), L"B36/S23");
  SendMessageW(GetDlgItem(page, IDC_SURVIVE_0 + 2), BM_CLICK, 0, 0);
  EXPECT_EQ(Task().RuleSurvive[2], 0);
  EXPECT_EQ(SelectedComboText(rule), L"Custom");
  EXPECT_EQ(Text(GetDlgItem(page, IDC_RULE_NOTATION)), L"B36/S3");
  SendMessageW(GetDlgItem(page, IDC_DRAW_FIELD), BM_CLICK, 0, 0);
  EXPECT_EQ(Task().FieldDrawMode, 1);
  Choose(page, IDC_FILL_MODE, 2);
  EXPECT_EQ(Task().ResetMode, 2);  // "Central circle randomized"
  const bool stat = Task().ShowStat;
  SendMessageW(GetDlgItem(page, IDC_SHOW_STAT), BM_CLICK, 0, 0);
  EXPECT_EQ(Task().ShowStat, !stat);
  // A new colour reported by the colour button becomes the background.
  sheet->general.colourButton.SetColour(RGB(255, 0, 51));
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_BK_COLOR, CLRN_CHANGED),
               reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_BK_COLOR)));
  EXPECT_FLOAT_EQ(Task().BkColor[0], 1.0f);
  EXPECT_FLOAT_EQ(Task().BkColor[1], 0.0f);
  EXPECT_FLOAT_EQ(Task().BkColor[2], 0.2f);
  EXPECT_FLOAT_EQ(Task().BkColor[3], 1.0f);
  // Put the rule back for the other tests.
  SendMessageW(GetDlgItem(page, IDC_BORN_0 + 6), BM_CLICK, 0, 0);
  SendMessageW(GetDlgItem(page, IDC_SURVIVE_0 + 2), BM_CLICK, 0, 0);
}

TEST_F(ConfigSheetTest, MouseChoiceSetsTheTolerance) {
  Task().SetMouseTolerance(0);
  Open(0);
  HWND page = Page();
  HWND combo = GetDlgItem(page, IDC_MOUSE_TOLERANCE);
  ASSERT_EQ(ComboTexts(combo),
            (std::vector<std::wstring>{L"Any movement", L"A small movement", L"A deliberate movement"}));
  EXPECT_EQ(static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)), 0);
  Choose(page, IDC_MOUSE_TOLERANCE, 1);
  EXPECT_EQ(Task().MouseTolerance, 8u);
  Choose(page, IDC_MOUSE_TOLERANCE, 2);
  EXPECT_EQ(Task().MouseTolerance, 32u);
  Task().SetMouseTolerance(0);
}

TEST_F(PaletteSheetTest, EditEntryOpensPaletteSetupAndTheListIsRebuiltAfterOk) {
  Open(0);
  HWND page = Page();
  HWND combo = GetDlgItem(page, IDC_PALETTE_LIST);
  EXPECT_EQ(ComboTexts(combo), (std::vector<std::wstring>{L"Aqua", L"Blaze", L"Default", L"Edit..."}));
  EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 3, 0), -1);
  bool sawDelete = false;
  ModalDriver driver(L"Palette setup", [&](HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_PALETTE_LIST);
    // Delete "Blaze" inside the dialog, then OK.
    SendMessageW(list, CB_SETCURSEL, ComboIndexOf(list, L"Blaze"), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PALETTE_LIST, CBN_SELENDOK), reinterpret_cast<LPARAM>(list));
    sawDelete = IsWindowEnabled(GetDlgItem(dialog, IDC_DELETE)) != FALSE;
    SendMessageW(GetDlgItem(dialog, IDC_DELETE), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  });
  Choose(page, IDC_PALETTE_LIST, 3);
  EXPECT_TRUE(driver.Acted());
  EXPECT_FALSE(driver.TimedOut());
  EXPECT_TRUE(sawDelete);
  EXPECT_EQ(ComboTexts(combo), (std::vector<std::wstring>{L"Aqua", L"Default", L"Edit..."}));
  EXPECT_EQ(CPaletteContainer::Instance()->Count(), 2);
  // The entry after the deleted one became current and is selected.
  EXPECT_EQ(CurrentName(), L"Default");
  EXPECT_EQ(static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)), 1);
}

TEST_F(PaletteSheetTest, GeneralDoubleClickOnTheGradientOpensPaletteSetupAndAddsNoPeg) {
  Open(0);
  HWND page = Page();
  CDlgPageGeneral& general = sheet->general;
  ASSERT_EQ(CWindowImpl::FromHandle(GetDlgItem(page, IDC_GRADIENT)), &general.gradient);
  ASSERT_EQ(general.gradientView, &general.gradient);
  EXPECT_EQ(Positions(general.gradient.GetGradient()), (std::vector<double>{0.5}));  // Aqua

  // As the template makes it (no editing): the dialog opens; Cancel changes nothing.
  {
    ModalDriver driver(L"Palette setup", [&](HWND w) { SendMessageW(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0); });
    DoubleClickBar(general.gradient);
    EXPECT_TRUE(driver.Acted());
    EXPECT_FALSE(driver.TimedOut());
  }
  EXPECT_EQ(CurrentName(), L"Aqua");
  EXPECT_EQ(Positions(general.gradient.GetGradient()), (std::vector<double>{0.5}));

  // OK after choosing Blaze: the list, the control and the task's colours
  // show Blaze exactly.
  {
    ModalDriver driver(L"Palette setup", [&](HWND w) {
      ConfirmPalette(w, L"Blaze");
      SendMessageW(GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
    });
    DoubleClickBar(general.gradient);
    EXPECT_TRUE(driver.Acted());
    EXPECT_FALSE(driver.TimedOut());
  }
  EXPECT_EQ(CurrentName(), L"Blaze");
  EXPECT_EQ(Positions(general.gradient.GetGradient()), (std::vector<double>{0.25, 0.75}));
  HWND combo = GetDlgItem(page, IDC_PALETTE_LIST);
  EXPECT_EQ(static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)), ComboIndexOf(combo, L"Blaze"));
  EXPECT_EQ(TaskTable(), TableOf(Named(*CPaletteContainer::Instance().get(), L"Blaze")->gradient));

  // The answer the control gets to its create request is the veto: with
  // marker styles it would otherwise add the peg.
  GradientNotify request{};
  request.hdr.hwndFrom = general.gradient.Handle();
  request.hdr.idFrom = IDC_GRADIENT;
  request.hdr.code = GCN_CREATEPEG;
  request.peg.position = 0.5;
  request.index = PEG_NONE;
  LRESULT answer = 0;
  {
    ModalDriver driver(L"Palette setup", [&](HWND w) { SendMessageW(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0); });
    answer = SendMessageW(page, WM_NOTIFY, IDC_GRADIENT, reinterpret_cast<LPARAM>(&request));
    EXPECT_TRUE(driver.Acted());
  }
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(general.gradient.GetGradient().GetPegCount(), 2);
}
