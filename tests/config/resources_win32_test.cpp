// The configuration dialogs and strings as compiled into the module, loaded
// in English (1033) by name, with the Russian (1049) twin checked to carry
// the same controls in the same places. What the user's language chooses is
// config_sheet_russian_win32_test's.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/core/resource_loader_win32.h"
#include "resources/resource.h"
#include "tests/support/dialog_template_reader.h"

using vivarn_test::ReadDialogTemplateEx;
using vivarn_test::TemplateInfo;
using vivarn_test::TemplateItem;

namespace {
TemplateInfo LoadTemplate(UINT id, WORD lang) {
  DWORD size = 0;
  const DLGTEMPLATE* t = LoadDialogTemplate(id, lang, GetModuleHandleW(nullptr), &size);
  TemplateInfo info;
  EXPECT_NE(t, nullptr) << "template " << id << " lang " << lang;
  if (t != nullptr) {
    EXPECT_TRUE(ReadDialogTemplateEx(reinterpret_cast<const uint8_t*>(t), size, info)) << id;
  }
  return info;
}

std::u16string U16(const wchar_t* s) { return std::u16string(s, s + wcslen(s)); }

struct Expected {
  UINT dialog;
  uint32_t id;
  const wchar_t* cls;
  const wchar_t* text;  // nullptr: not checked
};

const UINT kDialogs[] = {IDD_PALETTE_SETUP, IDD_PAGE_ABOUT, IDD_PAGE_RULES, IDD_PAGE_VIDEO, IDD_PAGE_FIELD,
                         IDD_PAGE_GENERAL, IDD_PATTERN};
}  // namespace

TEST(ConfigResources, EveryDialogExistsInBothLanguagesWithTheShellFont) {
  for (UINT id : kDialogs) {
    for (WORD lang : {kEnglishUs, kRussian}) {
      TemplateInfo t = LoadTemplate(id, lang);
      EXPECT_EQ(t.face, u"MS Shell Dlg") << id;
      EXPECT_EQ(t.pointSize, 8) << id;
      EXPECT_FALSE(t.items.empty()) << id;
    }
  }
}

TEST(ConfigResources, PagesAreChildTemplatesWithTheirTabTitles) {
  struct Page { UINT id; const char16_t* title; int16_t cx, cy; };
  for (const Page& p : {Page{IDD_PAGE_ABOUT, u"About", 214, 161}, Page{IDD_PAGE_RULES, u"Rules", 214, 180},
                        Page{IDD_PAGE_VIDEO, u"Video", 214, 212}, Page{IDD_PAGE_FIELD, u"Field", 214, 180},
                        Page{IDD_PAGE_GENERAL, u"General", 214, 216}}) {
    TemplateInfo t = LoadTemplate(p.id, kEnglishUs);
    EXPECT_EQ(t.title, p.title);
    EXPECT_TRUE(t.style & WS_CHILD) << p.id;
    EXPECT_FALSE(t.style & WS_POPUP) << p.id;
    EXPECT_EQ(t.cx, p.cx) << p.id;
    EXPECT_EQ(t.cy, p.cy) << p.id;
  }
  TemplateInfo setup = LoadTemplate(IDD_PALETTE_SETUP, kEnglishUs);
  EXPECT_EQ(setup.title, u"Palette setup");
  EXPECT_EQ(setup.cx, 267);
  EXPECT_EQ(setup.cy, 125);
  EXPECT_TRUE(setup.style & WS_POPUP);
}

TEST(ConfigResources, ControlsHaveTheirIdsClassesAndTexts) {
  const wchar_t* colourText = L"xxx\nDefalt\nSelect custom...\n";
  const Expected table[] = {
      {IDD_PALETTE_SETUP, IDC_GRADIENT, L"wtlgradientctrl", nullptr},
      {IDD_PALETTE_SETUP, IDC_PALETTE_LIST, L"combobox", nullptr},
      {IDD_PALETTE_SETUP, IDC_SAVE_AS, L"button", L"Save as..."},
      {IDD_PALETTE_SETUP, IDC_DELETE, L"button", L"Delete"},
      {IDD_PALETTE_SETUP, IDOK, L"button", L"OK"},
      {IDD_PALETTE_SETUP, IDCANCEL, L"button", L"Cancel"},
      {IDD_PAGE_ABOUT, IDC_LINK_MAIL, L"static", nullptr},
      {IDD_PAGE_ABOUT, IDC_LINK_WEB, L"static", nullptr},
      {IDD_PAGE_RULES, IDC_DIE_SLOWLY, L"button", L"Cells die slowly"},
      {IDD_PAGE_RULES, IDC_TRACKBAR, L"msctls_trackbar32", nullptr},
      {IDD_PAGE_RULES, IDC_TRACKBAR_LABEL, L"static", nullptr},
      {IDD_PAGE_RULES, IDC_FASTER, L"static", L"Faster"},
      {IDD_PAGE_RULES, IDC_SLOWER, L"static", L"Slower"},
      {IDD_PAGE_FIELD, IDC_RESET_EVERY, L"button", L"Reset Every"},
      {IDD_PAGE_FIELD, IDC_RESET_PERIOD, L"edit", nullptr},
      {IDD_PAGE_FIELD, IDC_GENERATIONS, L"static", L"Generations"},
      {IDD_PAGE_FIELD, IDC_AUTO_RESET, L"button", L"Auto reset"},
      {IDD_PAGE_FIELD, IDC_RESET_NOW, L"button", L"&Reset Now"},
      {IDD_PAGE_FIELD, IDC_FILL_MODE, L"combobox", nullptr},
      {IDD_PAGE_FIELD, IDC_TRACKBAR, L"msctls_trackbar32", nullptr},
      {IDD_PAGE_FIELD, IDC_TRACKBAR_LABEL, L"static", L"Generations/s"},
      {IDD_PAGE_VIDEO, IDC_DRAW_BY_CELL, L"button", L"Draw By Cell"},
      {IDD_PAGE_VIDEO, IDC_DRAW_FIELD, L"button", L"Draw Field"},
      {IDD_PAGE_VIDEO, IDC_CELL_SIZE, L"combobox", nullptr},
      {IDD_PAGE_VIDEO, IDC_SHOW_STAT, L"button", L"Show &Statistic"},
      {IDD_PAGE_VIDEO, IDC_SHOW_FPS, L"button", L"Show &FPS"},
      {IDD_PAGE_VIDEO, IDC_VSYNC, L"button", L"VSync On"},
      {IDD_PAGE_VIDEO, IDC_MONITORS, L"combobox", nullptr},
      {IDD_PAGE_VIDEO, IDC_SHOW_CLOCK, L"button", L"Show c&lock"},
      {IDD_PAGE_VIDEO, IDC_ON_BATTERY, L"combobox", nullptr},
      {IDD_PAGE_VIDEO, IDC_SMOOTH_GENERATIONS, L"button", L"S&mooth generations"},
      {IDD_PAGE_GENERAL, IDC_MOUSE_TOLERANCE, L"combobox", nullptr},
      {IDD_PAGE_VIDEO, IDC_BK_COLOR, L"button", colourText},
      {IDD_PAGE_VIDEO, IDC_GRADIENT, L"wtlgradientctrl", nullptr},
      {IDD_PAGE_VIDEO, IDC_PALETTE_LIST, L"combobox", nullptr},
      {IDD_PAGE_VIDEO, IDC_SAVE_AS, L"button", L"Save as..."},
      {IDD_PAGE_VIDEO, IDC_DELETE, L"button", L"Delete"},
      {IDD_PAGE_GENERAL, IDC_AUTO_RESET, L"button", L"Auto reset"},
      {IDD_PAGE_GENERAL, IDC_RESET_NOW, L"button", L"&Reset Now"},
      {IDD_PAGE_GENERAL, IDC_FILL_MODE, L"combobox", nullptr},
      {IDD_PAGE_GENERAL, IDC_DRAW_BY_CELL, L"button", L"Draw By Cell"},
      {IDD_PAGE_GENERAL, IDC_DRAW_FIELD, L"button", L"Draw Field"},
      {IDD_PAGE_GENERAL, IDC_CELL_SIZE, L"combobox", nullptr},
      {IDD_PAGE_GENERAL, IDC_SHOW_STAT, L"button", L"Show &Statistic"},
      {IDD_PAGE_GENERAL, IDC_BK_COLOR, L"button", colourText},
      {IDD_PAGE_GENERAL, IDC_PALETTE_LIST, L"combobox", nullptr},
      {IDD_PAGE_GENERAL, IDC_GRADIENT, L"wtlgradientctrl", nullptr},
      {IDD_PAGE_GENERAL, IDC_RULE_LIST, L"combobox", nullptr},
      {IDD_PAGE_GENERAL, IDC_RULE_NOTATION, L"edit", L""},
      {IDD_PAGE_RULES, IDC_RULE_LIST, L"combobox", nullptr},
      {IDD_PAGE_RULES, IDC_RULE_NOTATION, L"edit", L""},
      {IDD_PAGE_FIELD, IDC_PATTERN_CHOOSE, L"button", L"Pattern..."},
      {IDD_PAGE_GENERAL, IDC_PATTERN_CHOOSE, L"button", L"Pattern..."},
      {IDD_PATTERN, IDC_PATTERN_LIST, L"syslistview32", nullptr},
      {IDD_PATTERN, IDC_PATTERN_VIEW, L"static", nullptr},
      {IDD_PATTERN, IDC_PATTERN_NAME, L"static", nullptr},
      {IDD_PATTERN, IDC_PATTERN_FIT, L"static", nullptr},
      {IDD_PATTERN, IDC_PATTERN_ERROR, L"static", nullptr},
      {IDD_PATTERN, IDC_PATTERN_OPEN, L"button", L"&Open file..."},
      {IDD_PATTERN, IDC_PATTERN_PASTE, L"button", L"&Paste"},
      {IDD_PATTERN, IDOK, L"button", L"OK"},
      {IDD_PATTERN, IDCANCEL, L"button", L"Cancel"},
  };
  for (const Expected& e : table) {
    TemplateInfo t = LoadTemplate(e.dialog, kEnglishUs);
    const TemplateItem* item = t.Find(e.id);
    ASSERT_NE(item, nullptr) << "dialog " << e.dialog << " control " << e.id;
    EXPECT_EQ(item->cls, U16(e.cls)) << "dialog " << e.dialog << " control " << e.id;
    if (e.text != nullptr) {
      EXPECT_EQ(item->text, U16(e.text)) << "dialog " << e.dialog << " control " << e.id;
    }
  }
}

TEST(ConfigResources, RuleCheckboxesAreLabelledZeroToEightInTheirGroups) {
  for (UINT page : {IDD_PAGE_GENERAL, IDD_PAGE_RULES}) {
    TemplateInfo t = LoadTemplate(page, kEnglishUs);
    std::set<std::u16string> groups;
    for (const auto& i : t.items)
      if (i.cls == u"button" && (i.style & 0xF) == BS_GROUPBOX) groups.insert(i.text);
    EXPECT_EQ(groups.count(u"Born Conditions"), 1u) << page;
    EXPECT_EQ(groups.count(u"Survive Conditions"), 1u) << page;
    for (int k = 0; k <= 8; ++k) {
      for (uint32_t first : {IDC_BORN_0, IDC_SURVIVE_0}) {
        const TemplateItem* box = t.Find(first + k);
        ASSERT_NE(box, nullptr) << page << " " << first + k;
        EXPECT_EQ(box->text, std::u16string(1, static_cast<char16_t>(u'0' + k)));
        EXPECT_EQ(box->style & 0xF, static_cast<uint32_t>(BS_AUTOCHECKBOX));
      }
    }
  }
}

TEST(ConfigResources, StylesThatTheCodeReliesOn) {
  TemplateInfo field = LoadTemplate(IDD_PAGE_FIELD, kEnglishUs);
  EXPECT_TRUE(field.Find(IDC_RESET_PERIOD)->style & ES_NUMBER);
  EXPECT_TRUE(field.Find(IDC_TRACKBAR)->style & TBS_TOOLTIPS);
  EXPECT_TRUE(field.Find(IDC_TRACKBAR)->style & TBS_AUTOTICKS);
  TemplateInfo general = LoadTemplate(IDD_PAGE_GENERAL, kEnglishUs);
  EXPECT_TRUE(general.Find(IDC_PALETTE_LIST)->style & CBS_SORT);
  EXPECT_EQ(general.Find(IDC_GRADIENT)->style & 0x1F, 0u);  // shows the palette, no pegs
  EXPECT_EQ(general.Find(IDC_BK_COLOR)->style & 0xF, static_cast<uint32_t>(BS_OWNERDRAW));
  // Radio groups start at "Draw By Cell" so the checked index is 0 or 1.
  EXPECT_TRUE(general.Find(IDC_DRAW_BY_CELL)->style & WS_GROUP);
  EXPECT_FALSE(general.Find(IDC_DRAW_FIELD)->style & WS_GROUP);
  // The rule list keeps its order ("Custom" last) and the rulestring box
  // scrolls a rule longer than itself.
  for (UINT page : {IDD_PAGE_GENERAL, IDD_PAGE_RULES}) {
    TemplateInfo t = LoadTemplate(page, kEnglishUs);
    EXPECT_EQ(t.Find(IDC_RULE_LIST)->style & (CBS_DROPDOWNLIST | CBS_SORT), static_cast<uint32_t>(CBS_DROPDOWNLIST));
    EXPECT_TRUE(t.Find(IDC_RULE_NOTATION)->style & ES_AUTOHSCROLL) << page;
  }
  TemplateInfo video = LoadTemplate(IDD_PAGE_VIDEO, kEnglishUs);
  EXPECT_FALSE(video.Find(IDC_PALETTE_LIST)->style & CBS_SORT);
  EXPECT_EQ(video.Find(IDC_GRADIENT)->style & 0x1F, 0x14u);  // end pegs, pegs after the bar
  TemplateInfo setup = LoadTemplate(IDD_PALETTE_SETUP, kEnglishUs);
  EXPECT_EQ(setup.Find(IDC_GRADIENT)->style & 0x1F, 0x14u);
  EXPECT_EQ(setup.Find(IDOK)->style & 0xF, static_cast<uint32_t>(BS_DEFPUSHBUTTON));
  // The pattern view is drawn by the dialog; one row of the list is the choice.
  TemplateInfo pattern = LoadTemplate(IDD_PATTERN, kEnglishUs);
  EXPECT_TRUE(pattern.style & WS_POPUP);
  EXPECT_EQ(pattern.Find(IDC_PATTERN_VIEW)->style & SS_TYPEMASK, static_cast<uint32_t>(SS_OWNERDRAW));
  EXPECT_EQ(pattern.Find(IDC_PATTERN_LIST)->style & (LVS_TYPEMASK | LVS_SINGLESEL),
            static_cast<uint32_t>(LVS_REPORT | LVS_SINGLESEL));
}

TEST(ConfigResources, PaletteSetupAndAboutFollowTheirGivenGeometry) {
  struct Place { UINT dialog; uint32_t id; int16_t x, y, cx, cy; };
  const Place table[] = {
      {IDD_PALETTE_SETUP, IDC_GRADIENT, 7, 7, 253, 73},  {IDD_PALETTE_SETUP, IDC_SAVE_AS, 158, 83, 50, 14},
      {IDD_PALETTE_SETUP, IDC_DELETE, 210, 83, 50, 14},  {IDD_PALETTE_SETUP, IDOK, 157, 104, 50, 14},
      {IDD_PALETTE_SETUP, IDCANCEL, 210, 104, 50, 14},   {IDD_PAGE_ABOUT, IDC_LINK_MAIL, 78, 60, 129, 8},
      {IDD_PAGE_ABOUT, IDC_LINK_WEB, 78, 84, 129, 8},
  };
  for (const Place& p : table) {
    const TemplateItem* i = LoadTemplate(p.dialog, kEnglishUs).Find(p.id);
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->x, p.x) << p.id;
    EXPECT_EQ(i->y, p.y) << p.id;
    EXPECT_EQ(i->cx, p.cx) << p.id;
    EXPECT_EQ(i->cy, p.cy) << p.id;
  }
  const TemplateItem* combo = LoadTemplate(IDD_PALETTE_SETUP, kEnglishUs).Find(IDC_PALETTE_LIST);
  EXPECT_EQ(combo->x, 7);
  EXPECT_EQ(combo->y, 84);
  EXPECT_EQ(combo->cx, 147);
}

TEST(ConfigResources, RussianTwinsHaveTheSameControlsInTheSamePlaces) {
  for (UINT id : kDialogs) {
    TemplateInfo en = LoadTemplate(id, kEnglishUs), ru = LoadTemplate(id, kRussian);
    EXPECT_EQ(en.cx, ru.cx);
    EXPECT_EQ(en.cy, ru.cy);
    EXPECT_NE(en.title, ru.title) << id;
    ASSERT_EQ(en.items.size(), ru.items.size()) << id;
    for (size_t k = 0; k < en.items.size(); ++k) {
      EXPECT_EQ(en.items[k].id, ru.items[k].id) << id;
      EXPECT_EQ(en.items[k].cls, ru.items[k].cls) << id;
      EXPECT_EQ(en.items[k].style, ru.items[k].style) << id;
      EXPECT_EQ(en.items[k].x, ru.items[k].x) << id;
      EXPECT_EQ(en.items[k].y, ru.items[k].y) << id;
      EXPECT_EQ(en.items[k].cx, ru.items[k].cx) << id;
      EXPECT_EQ(en.items[k].cy, ru.items[k].cy) << id;
    }
  }
}

TEST(ConfigResources, EnglishStringTableIsExact) {
  struct S { UINT id; const wchar_t* text; };
  const S table[] = {
      {100, L"Vivarn ScreenSaver"},        {101, L"O&K"},
      {102, L"&Cancel"},                   {103, L"Central circle randomized"},
      {104, L"Full field randomized"},     {105, L"Central square randomized"},
      {106, L"Advanced Settings"},         {110, L"Large"},
      {111, L"Medium"},                    {112, L"Small"},
      {113, L"Very Large"},                {114, L"Very Small"},
      {IDS_CELL_TINY, L"Tiny"},            {IDS_CELL_SMALLEST, L"Smallest"},
      {118, L"%d generations/s"},          {119, L"As fast as posible"},
      {120, L"Edit..."},                   {121, L"Default"},
      {122, L"Custom..."},                 {123, L"Enter palette name"},
      {124, L"Palette name:"},             {125, L"%0.3f"},
      {126, L"Zombie"},                    {140, L"Custom"},
      {130, L"Span all monitors"},         {131, L"Primary only, others black"},
      {108, L"Total        : %d"},         {109, L"Average age  : %3.1f"},
      {115, L"Generation   : %d"},         {116, L"Average total: %u"},
  };
  for (const S& s : table) EXPECT_EQ(LoadResourceString(s.id, kEnglishUs, GetModuleHandleW(nullptr)), s.text) << s.id;
  // Ids the table does not list stay empty.
  // The pattern reader's refusals have a text for every reason.
  for (UINT reason = 1; reason <= 9; ++reason)
    EXPECT_FALSE(LoadResourceString(IDS_PATTERN_ERROR_FIRST + reason, kEnglishUs, GetModuleHandleW(nullptr)).empty());
  EXPECT_EQ(LoadResourceString(IDS_FILL_FAMOUS, kEnglishUs, GetModuleHandleW(nullptr)), L"Famous patterns");
  EXPECT_EQ(LoadResourceString(IDS_FILL_PATTERN, kEnglishUs, GetModuleHandleW(nullptr)), L"Pattern");
  for (UINT gap : {107u, 117u, 127u})
    EXPECT_EQ(LoadResourceString(gap, kEnglishUs, GetModuleHandleW(nullptr)), L"") << gap;
}

TEST(ConfigResources, RussianStringsExistAndSurviveUtf8Compilation) {
  for (UINT id : {100u, 101u, 102u, 103u, 104u, 105u, 106u, 108u, 109u, 110u, 111u, 112u, 113u, 114u, 115u, 116u,
                  118u, 119u, 120u, 121u, 122u, 123u, 124u, 125u, 126u, 130u, 131u, 140u, UINT{IDS_CELL_TINY},
                  UINT{IDS_CELL_SMALLEST}})
    EXPECT_FALSE(LoadResourceString(id, kRussian, GetModuleHandleW(nullptr)).empty()) << id;
  for (UINT id = IDS_FILL_FAMOUS; id <= IDS_PATTERN_NONE; ++id)
    EXPECT_FALSE(LoadResourceString(id, kRussian, GetModuleHandleW(nullptr)).empty()) << id;
  for (UINT reason = 1; reason <= 9; ++reason)
    EXPECT_FALSE(LoadResourceString(IDS_PATTERN_ERROR_FIRST + reason, kRussian, GetModuleHandleW(nullptr)).empty());
  EXPECT_EQ(LoadResourceString(126, kRussian, GetModuleHandleW(nullptr)), L"\u0417\u043e\u043c\u0431\u0438");
  EXPECT_EQ(LoadResourceString(118, kRussian, GetModuleHandleW(nullptr)),
            L"%d \u043f\u043e\u043a\u043e\u043b\u0435\u043d\u0438\u0439/\u0441");
}

TEST(ConfigResources, MissingResourcesGiveEmptyResults) {
  EXPECT_EQ(LoadDialogTemplate(999, kEnglishUs, GetModuleHandleW(nullptr)), nullptr);
  EXPECT_EQ(LoadDialogTemplate(IDD_PAGE_GENERAL, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), GetModuleHandleW(nullptr)),
            nullptr);
  EXPECT_EQ(LoadResourceString(4000, kEnglishUs, GetModuleHandleW(nullptr)), L"");
}
