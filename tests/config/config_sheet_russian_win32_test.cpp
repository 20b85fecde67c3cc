// The configuration under a Russian user interface (ctest runs this program
// with a Russian locale): the sheet's tabs and buttons come from the Russian
// tables, an item those lack comes in English, and the built-in palette,
// shown under its Russian name, still cannot be deleted.
#include <string>
#include <vector>

#include "engine/core/resource_loader_win32.h"
#include "tests/config/config_sheet_fixture_win32.h"
#include "tests/support/dialog_template_reader.h"

namespace {
constexpr UINT kEnglishOnlyId = 4090;  // tests/config/english_only_win32.rc

std::wstring RussianCaption(UINT dialog) {
  DWORD size = 0;
  const DLGTEMPLATE* t = LoadDialogTemplate(dialog, kRussian, GetModuleHandleW(nullptr), &size);
  vivarn_test::TemplateInfo info;
  if (t == nullptr || !vivarn_test::ReadDialogTemplateEx(reinterpret_cast<const uint8_t*>(t), size, info)) return {};
  return std::wstring(info.title.begin(), info.title.end());
}

std::wstring Russian(UINT id) { return LoadResourceString(id, kRussian, GetModuleHandleW(nullptr)); }
}  // namespace

TEST(RussianResources, UserItemsComeFromTheRussianTablesAndMissingOnesInEnglish) {
  ASSERT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_RUSSIAN) << "not run with a Russian locale";
  EXPECT_EQ(UserResourceLanguage(), kRussian);
  const HMODULE self = GetModuleHandleW(nullptr);
  EXPECT_EQ(LoadResourceString(IDS_PALETTE_DEFAULT, kUserLanguage, self), Russian(IDS_PALETTE_DEFAULT));
  EXPECT_EQ(LoadDialogTemplate(IDD_PAGE_GENERAL, kUserLanguage, self),
            LoadDialogTemplate(IDD_PAGE_GENERAL, kRussian, self));
  // The Russian table lacks these: the English item, not an empty one.
  EXPECT_EQ(LoadResourceString(kEnglishOnlyId, kRussian, self), L"");
  EXPECT_EQ(LoadResourceString(kEnglishOnlyId, kUserLanguage, self), L"Only in English");
  EXPECT_EQ(LoadDialogTemplate(kEnglishOnlyId, kRussian, self), nullptr);
  const DLGTEMPLATE* english = LoadDialogTemplate(kEnglishOnlyId, kEnglishUs, self);
  ASSERT_NE(english, nullptr);
  DWORD size = 0;
  EXPECT_EQ(LoadDialogTemplate(kEnglishOnlyId, kUserLanguage, self, &size), english);
  EXPECT_GT(size, 0u);
}

TEST_F(PaletteSheetTest, RussianSheetShowsRussianTabsAndButtonsAndKeepsDefault) {
  ASSERT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_RUSSIAN) << "not run with a Russian locale";
  Open(0);
  HWND s = sheet->Handle();
  HWND tab = sheet->GetTabControl();
  EXPECT_EQ(TabTitles(tab),
            (std::vector<std::wstring>{RussianCaption(IDD_PAGE_GENERAL), RussianCaption(IDD_PAGE_ABOUT)}));
  EXPECT_EQ(Text(s), Russian(IDS_SHEET_TITLE));
  EXPECT_EQ(Text(GetDlgItem(s, IDOK)), Russian(IDS_OK));
  EXPECT_EQ(Text(GetDlgItem(s, IDCANCEL)), Russian(IDS_CANCEL));
  HWND box = GetDlgItem(s, IDC_ADVANCED);
  EXPECT_EQ(Text(box), Russian(IDS_ADVANCED));

  SendMessageW(box, BM_CLICK, 0, 0);
  ASSERT_TRUE(pump->Until([&] { return sheet->GetPageCount() == 5; }));
  EXPECT_EQ(TabTitles(tab),
            (std::vector<std::wstring>{RussianCaption(IDD_PAGE_GENERAL), RussianCaption(IDD_PAGE_RULES),
                                       RussianCaption(IDD_PAGE_FIELD), RussianCaption(IDD_PAGE_VIDEO),
                                       RussianCaption(IDD_PAGE_ABOUT)}));
  EXPECT_NE(RussianCaption(IDD_PAGE_VIDEO), L"Video");

  // The Video page's list: the built-in palette under its Russian name keeps
  // "Delete" disabled, a palette of the user's enables it.
  Select(3);
  HWND video = Page();
  const std::wstring label = Russian(IDS_PALETTE_DEFAULT);
  ASSERT_NE(label, L"Default");
  HWND list = GetDlgItem(video, IDC_PALETTE_LIST);
  ASSERT_GE(ComboIndexOf(list, label.c_str()), 0);
  EXPECT_EQ(ComboIndexOf(list, L"Default"), -1);
  ConfirmPalette(video, label.c_str());
  EXPECT_EQ(CurrentName(), L"Default");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(video, IDC_DELETE)));
  ConfirmPalette(video, L"Blaze");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(video, IDC_DELETE)));

  // The longest Russian starter names fit General's narrow closed list.
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  for (const std::wstring& name : StarterNames()) store.AddPalette(CGradient(), name.c_str());
  Select(0);
  ExpectEntriesShownWhole(GetDlgItem(Page(), IDC_PALETTE_LIST), StarterNames());
}
