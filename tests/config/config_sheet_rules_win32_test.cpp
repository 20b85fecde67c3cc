// The Rules page: the named-rule list, the fading trackbar and the "Cells
// die slowly" box.
#include <string>
#include <vector>

#include "life/named_rules.h"
#include "tests/config/config_sheet_fixture_win32.h"

namespace {
// The rule boxes as the digits of the checked ones, "3678/34678".
std::wstring CheckedCounts(HWND page) {
  std::wstring text;
  for (int first : {IDC_BORN_0, IDC_SURVIVE_0}) {
    if (first == IDC_SURVIVE_0) text += L'/';
    for (int k = 0; k < 9; ++k)
      if (IsDlgButtonChecked(page, first + k) == BST_CHECKED) text += static_cast<wchar_t>(L'0' + k);
  }
  return text;
}

std::vector<uint8_t> StoredRule(const wchar_t* name) {
  std::vector<uint8_t> flags(9, 0xFF);
  DWORD size = 9;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Vivarn Screen Saver 2\\Settings", name, RRF_RT_REG_BINARY,
                         nullptr, flags.data(), &size),
            ERROR_SUCCESS);
  return flags;
}

void SetTaskRule(const std::vector<uint8_t>& born, const std::vector<uint8_t>& survive) {
  VivarnTask::Instance()->SetRule(born.data(), survive.data());
}

DWORD StoredStates() {
  DWORD states = 0, size = sizeof states;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Vivarn Screen Saver 2\\Settings", L"RuleStates",
                         RRF_RT_REG_DWORD, nullptr, &states, &size),
            ERROR_SUCCESS);
  return states;
}
}  // namespace

TEST_F(ConfigSheetTest, RuleListSetsTheBoxesFollowsThemAcrossPagesAndOkStoresTheRule) {
  const std::vector<uint8_t> lifeBorn{0, 0, 0, 1, 0, 0, 0, 0, 0}, lifeSurvive{0, 0, 1, 1, 0, 0, 0, 0, 0};
  SetTaskRule(lifeBorn, lifeSurvive);
  Open(1);
  Select(1);
  HWND rules = Page();
  HWND list = GetDlgItem(rules, IDC_RULE_LIST);
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(kNamedRuleCount + 1));
  EXPECT_EQ(SelectedComboText(list), L"Life");
  EXPECT_EQ(Text(GetDlgItem(rules, IDC_RULE_NOTATION)), L"B3/S23");

  Choose(rules, IDC_RULE_LIST, ComboIndexOf(list, L"Day & Night"));
  EXPECT_EQ(CheckedCounts(rules), L"3678/34678");
  EXPECT_EQ(Text(GetDlgItem(rules, IDC_RULE_NOTATION)), L"B3678/S34678");
  EXPECT_EQ(std::vector<uint8_t>(Task().RuleBorn, Task().RuleBorn + 9), (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 1, 1, 1}));
  EXPECT_EQ(std::vector<uint8_t>(Task().RuleSurvive, Task().RuleSurvive + 9),
            (std::vector<uint8_t>{0, 0, 0, 1, 1, 0, 1, 1, 1}));

  // Each page shows what the other changed once it is brought up again.
  Select(0);
  HWND general = Page();
  EXPECT_EQ(SelectedComboText(GetDlgItem(general, IDC_RULE_LIST)), L"Day & Night");
  SendMessageW(GetDlgItem(general, IDC_BORN_0 + 3), BM_CLICK, 0, 0);
  EXPECT_EQ(SelectedComboText(GetDlgItem(general, IDC_RULE_LIST)), L"Custom");
  Select(1);
  EXPECT_EQ(CheckedCounts(rules), L"678/34678");
  EXPECT_EQ(SelectedComboText(list), L"Custom");
  EXPECT_EQ(Text(GetDlgItem(rules, IDC_RULE_NOTATION)), L"B678/S34678");
  SendMessageW(GetDlgItem(rules, IDC_BORN_0 + 3), BM_CLICK, 0, 0);
  EXPECT_EQ(SelectedComboText(list), L"Day & Night");
  // "Custom" itself changes no box.
  Choose(rules, IDC_RULE_LIST, static_cast<int>(kNamedRuleCount));
  EXPECT_EQ(CheckedCounts(rules), L"3678/34678");
  EXPECT_EQ(SelectedComboText(list), L"Day & Night");

  SendMessageW(GetDlgItem(sheet->Handle(), IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(pump->Until([&] { return pump->quitSeen; }));
  EXPECT_EQ(pump->quitCode, 1);
  EXPECT_EQ(SaveSettings(), 1);
  EXPECT_EQ(StoredRule(L"RuleBorn"), (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 1, 1, 1}));
  EXPECT_EQ(StoredRule(L"RuleSurvive"), (std::vector<uint8_t>{0, 0, 0, 1, 1, 0, 1, 1, 1}));
  // Life again, in the task and the registry, for the other tests.
  SetTaskRule(lifeBorn, lifeSurvive);
  EXPECT_EQ(SaveSettings(), 1);
}

TEST_F(ConfigSheetTest, RulestringBoxSetsTheWholeRuleRefusesWhatIsNoRuleAndOkStoresIt) {
  const std::vector<uint8_t> lifeBorn{0, 0, 0, 1, 0, 0, 0, 0, 0}, lifeSurvive{0, 0, 1, 1, 0, 0, 0, 0, 0};
  VivarnTask::Instance()->SetRule(lifeBorn.data(), lifeSurvive.data(), 2);
  Task().SetDieSlowly(true);
  Open(1);
  Select(1);
  HWND rules = Page();
  HWND list = GetDlgItem(rules, IDC_RULE_LIST), edit = GetDlgItem(rules, IDC_RULE_NOTATION);
  EXPECT_EQ(Text(edit), L"B3/S23");
  // Typed and entered through the sheet's keyboard filter: the rule is
  // applied and the sheet's OK button is not pressed.
  SetFocus(edit);
  SetWindowTextW(edit, L" b2/s/c3");
  PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(pump->Until([&] { return Task().RuleStates == 3; }));
  EXPECT_FALSE(pump->quitSeen);
  EXPECT_EQ(CheckedCounts(rules), L"2/");
  EXPECT_EQ(SelectedComboText(list), L"Brian's Brain");
  EXPECT_EQ(Text(edit), L"B2/S/C3");
  EXPECT_EQ(std::vector<uint8_t>(Task().RuleBorn, Task().RuleBorn + 9), (std::vector<uint8_t>{0, 0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(Task().RuleSurvive, Task().RuleSurvive + 9), std::vector<uint8_t>(9, 0));
  EXPECT_TRUE(sheet->rules.RuleEditError().empty());
  // The fading controls have nothing to do under dying states; their values stay.
  ASSERT_TRUE(pump->Until([&] { return !IsWindowEnabled(GetDlgItem(rules, IDC_DIE_SLOWLY)); }));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(rules, IDC_TRACKBAR)));
  EXPECT_EQ(IsDlgButtonChecked(rules, IDC_DIE_SLOWLY), BST_CHECKED);
  EXPECT_TRUE(Task().DieSlowly);

  // What is no rule changes nothing and says why, where.
  SetWindowTextW(edit, L"B9/S");
  SendMessageW(rules, WM_COMMAND, MAKEWPARAM(IDC_RULE_NOTATION, EN_KILLFOCUS), reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(sheet->rules.RuleEditError(), L"Neighbour counts go from 0 to 8. (at character 2)");
  EXPECT_EQ(Task().RuleStates, 3);
  EXPECT_EQ(Task().RuleBorn[2], 1);
  EXPECT_EQ(CheckedCounts(rules), L"2/");
  EXPECT_EQ(SelectedComboText(list), L"Brian's Brain");

  // The longest rule fits the box whole.
  SetWindowTextW(edit, L"B012345678/S012345678/C256");
  SendMessageW(rules, WM_COMMAND, MAKEWPARAM(IDC_RULE_NOTATION, EN_KILLFOCUS), reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(Task().RuleStates, 256);
  const std::wstring longest = Text(edit);
  EXPECT_EQ(longest, L"B012345678/S012345678/C256");
  RECT format = {};
  SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  HDC dc = GetDC(edit);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  SIZE extent = {};
  GetTextExtentPoint32W(dc, longest.c_str(), static_cast<int>(longest.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(edit, dc);
  EXPECT_LE(extent.cx, format.right - format.left);

  // The General page shows the same rule; a name there brings two states back.
  Select(0);
  HWND general = Page();
  EXPECT_EQ(SelectedComboText(GetDlgItem(general, IDC_RULE_LIST)), L"Custom");
  EXPECT_EQ(Text(GetDlgItem(general, IDC_RULE_NOTATION)), L"B012345678/S012345678/C256");
  Choose(general, IDC_RULE_LIST, ComboIndexOf(GetDlgItem(general, IDC_RULE_LIST), L"Seeds"));
  EXPECT_EQ(Task().RuleStates, 2);
  EXPECT_EQ(Text(GetDlgItem(general, IDC_RULE_NOTATION)), L"B2/S");
  Choose(general, IDC_RULE_LIST, ComboIndexOf(GetDlgItem(general, IDC_RULE_LIST), L"Star Wars"));
  EXPECT_EQ(Task().RuleStates, 4);
  Select(1);
  EXPECT_EQ(Text(edit), L"B2/S345/C4");

  SendMessageW(GetDlgItem(sheet->Handle(), IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(pump->Until([&] { return pump->quitSeen; }));
  EXPECT_EQ(SaveSettings(), 1);
  EXPECT_EQ(StoredRule(L"RuleBorn"), (std::vector<uint8_t>{0, 0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(StoredRule(L"RuleSurvive"), (std::vector<uint8_t>{0, 0, 0, 1, 1, 1, 0, 0, 0}));
  EXPECT_EQ(StoredStates(), 4u);
  // Life again, in the task and the registry, for the other tests.
  VivarnTask::Instance()->SetRule(lifeBorn.data(), lifeSurvive.data(), 2);
  EXPECT_EQ(SaveSettings(), 1);
}

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
