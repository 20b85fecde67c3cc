// The configuration sheet built in-process and driven with real messages,
// checking the running Life task's fields and what the sheet shows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "config/pages/dlg_config_sheet_win32.h"
#include "config/pages/dlg_palette_edit_win32.h"
#include "config/pages/palette_ui_win32.h"
#include "engine/gfx/gl_window_settings.h"
#include "life/settings_store.h"
#include "palette/palette_container.h"
#include "tests/config/modal_driver_win32.h"
#include "tests/config/picker_click_win32.h"
#include "tests/config/test_host_win32.h"
#include "life/output_size.h"
#include "life/vivarn_task.h"
#include "resources/resource.h"

namespace {
// Pumps this thread's messages through the sheet's filter until `done` holds
// or the deadline passes. Records WM_QUIT's code when it comes.
class Pump {
 public:
  explicit Pump(CDlgConfigSheet& sheet) : sheet_(sheet) {}
  bool Until(const std::function<bool()>& done, DWORD ms = 5000) {
    const DWORD end = GetTickCount() + ms;
    for (;;) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          quitSeen = true;
          quitCode = static_cast<int>(msg.wParam);
          continue;
        }
        if (sheet_.PreTranslateMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      sheet_.OnIdle();
      if (done()) return true;
      if (GetTickCount() > end) return false;
      Sleep(5);
    }
  }
  bool quitSeen = false;
  int quitCode = -1;

 private:
  CDlgConfigSheet& sheet_;
};

std::wstring Text(HWND w) {
  wchar_t buffer[256] = {};
  GetWindowTextW(w, buffer, 256);
  return buffer;
}

std::vector<std::wstring> TabTitles(HWND tab) {
  std::vector<std::wstring> titles;
  const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t buffer[64] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 64;
    SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    titles.push_back(buffer);
  }
  return titles;
}

class ConfigSheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VivarnTaskBse& task = *VivarnTask::Instance().get();
    std::lock_guard<std::recursive_mutex> guard(task.lock);
    task.CellSize = 10;
    task.ApplyCellSize();
    task.LifeSpeed = 0.0f;
    task.DieStep = 0.9f;
    task.ResetPeriod = 1000;
    task.PeriodicResetOn = true;
  }
  void TearDown() override {
    if (sheet && sheet->Handle() != nullptr) DestroyWindow(sheet->Handle());
    if (sheet) {
      Pump drain(*sheet);
      drain.Until([] { return false; }, 50);
    }
  }
  // Opens the sheet and waits until the posted mode command has been handled.
  void Open(uint32_t advanced) {
    showAdvanced = advanced;
    sheet = std::make_unique<CDlgConfigSheet>(showAdvanced);
    ASSERT_NE(sheet->Create(nullptr), nullptr);
    pump = std::make_unique<Pump>(*sheet);
    const int expected = advanced ? 5 : 2;
    ASSERT_TRUE(pump->Until([&] { return sheet->GetPageCount() == expected; }));
  }
  HWND Page() const { return PropSheet_GetCurrentPageHwnd(sheet->Handle()); }
  void Select(int index) {
    SendMessageW(sheet->Handle(), PSM_SETCURSEL, index, 0);
    ASSERT_TRUE(pump->Until([&] { return Page() != nullptr; }));
  }
  void Scroll(HWND page, int position, int code) {
    HWND trackbar = GetDlgItem(page, IDC_TRACKBAR);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
    SendMessageW(page, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(trackbar));
  }
  void Choose(HWND page, int comboId, int index) {
    HWND combo = GetDlgItem(page, comboId);
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
  }
  static VivarnTaskBse& Task() { return *VivarnTask::Instance().get(); }

  uint32_t showAdvanced = 0;
  std::unique_ptr<CDlgConfigSheet> sheet;
  std::unique_ptr<Pump> pump;
};
}  // namespace

TEST_F(ConfigSheetTest, SimpleSheetHasTwoTabsAndTickingInsertsThreeBetweenThem) {
  Open(0);
  HWND tab = sheet->GetTabControl();
  EXPECT_EQ(TabTitles(tab), (std::vector<std::wstring>{L"General", L"About"}));
  HWND box = GetDlgItem(sheet->Handle(), IDC_ADVANCED);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Text(box), L"Advanced Settings");
  SendMessageW(box, BM_CLICK, 0, 0);
  ASSERT_TRUE(pump->Until([&] { return sheet->GetPageCount() == 5; }));
  EXPECT_EQ(TabTitles(tab), (std::vector<std::wstring>{L"General", L"Rules", L"Field", L"Video", L"About"}));
  EXPECT_EQ(showAdvanced, 1u);
  SendMessageW(box, BM_CLICK, 0, 0);
  ASSERT_TRUE(pump->Until([&] { return sheet->GetPageCount() == 2; }));
  EXPECT_EQ(TabTitles(tab), (std::vector<std::wstring>{L"General", L"About"}));
  EXPECT_EQ(showAdvanced, 0u);
  // And back again: removed pages are rebuilt.
  SendMessageW(box, BM_CLICK, 0, 0);
  ASSERT_TRUE(pump->Until([&] { return sheet->GetPageCount() == 5; }));
  Select(1);
  EXPECT_NE(GetDlgItem(Page(), IDC_DIE_SLOWLY), nullptr);
}

TEST_F(ConfigSheetTest, FrameHasTitleButtonsPreviewPaneAndLinks) {
  Open(1);
  HWND s = sheet->Handle();
  EXPECT_EQ(Text(s), L"Vivarn ScreenSaver");
  EXPECT_EQ(Text(GetDlgItem(s, IDOK)), L"O&K");
  EXPECT_EQ(Text(GetDlgItem(s, IDCANCEL)), L"&Cancel");
  HWND apply = GetDlgItem(s, 0x3021);
  EXPECT_TRUE(apply == nullptr || !IsWindowVisible(apply));
  HWND pane = GetDlgItem(s, IDC_PREVIEW);
  ASSERT_EQ(pane, sheet->PreviewPane());
  EXPECT_EQ(GetWindowLongPtrW(pane, GWL_STYLE) & SS_TYPEMASK, SS_BLACKRECT);
  EXPECT_TRUE(GetWindowLongPtrW(pane, GWL_STYLE) & WS_CLIPCHILDREN);
  RECT paneRect, tabRect;
  GetWindowRect(pane, &paneRect);
  MapWindowPoints(nullptr, s, reinterpret_cast<POINT*>(&paneRect), 2);
  GetWindowRect(sheet->GetTabControl(), &tabRect);
  MapWindowPoints(nullptr, s, reinterpret_cast<POINT*>(&tabRect), 2);
  EXPECT_EQ(paneRect.right, 320);
  EXPECT_GE(tabRect.left, 320);
  EXPECT_EQ(paneRect.left + 320, tabRect.left);
  EXPECT_EQ(paneRect.top, tabRect.top);
  EXPECT_GT(paneRect.bottom - paneRect.top, 100);
  EXPECT_EQ(sheet->linkWeb.target, L"https://example.org/vivarn");
  EXPECT_EQ(sheet->linkMail.target, L"mailto:vivarn@example.org?subject=Vivarn%20Screensaver");
  RECT web;
  GetWindowRect(sheet->linkWeb.m_hWnd, &web);
  MapWindowPoints(nullptr, s, reinterpret_cast<POINT*>(&web), 2);
  EXPECT_GE(web.top, paneRect.bottom);

  // Moved to a screen of twice the DPI: the widening doubles, the tabs stay
  // one margin right of the pane, and the colour controls scale with it.
  Select(3);
  RECT window;
  GetWindowRect(s, &window);
  const int width = window.right - window.left;
  SendMessageW(s, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&window));
  GetWindowRect(pane, &paneRect);
  MapWindowPoints(nullptr, s, reinterpret_cast<POINT*>(&paneRect), 2);
  GetWindowRect(sheet->GetTabControl(), &tabRect);
  MapWindowPoints(nullptr, s, reinterpret_cast<POINT*>(&tabRect), 2);
  EXPECT_EQ(paneRect.right, 640);
  EXPECT_EQ(paneRect.left + 640, tabRect.left);
  GetWindowRect(s, &window);
  EXPECT_EQ(window.right - window.left, width + 320);
  GetWindowRect(sheet->linkWeb.m_hWnd, &web);
  MapWindowPoints(nullptr, s, reinterpret_cast<POINT*>(&web), 2);
  EXPECT_EQ(web.left, paneRect.left);
  EXPECT_GE(web.top, paneRect.bottom);
  EXPECT_EQ(sheet->video.gradient.GetDpi(), 192);
  EXPECT_EQ(sheet->video.colourButton.GetDpi(), 192);
  EXPECT_EQ(sheet->general.gradient.GetDpi(), 192);
}

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

TEST_F(ConfigSheetTest, NonNumericPeriodBeepsRefocusesAndCountsAsZero) {
  Open(1);
  Select(2);
  HWND page = Page();
  int beeps = 0;
  sheet->field.beep = [&] { ++beeps; };
  HWND edit = GetDlgItem(page, IDC_RESET_PERIOD);
  SetFocus(GetDlgItem(sheet->Handle(), IDOK));
  SetWindowTextW(edit, L"250");
  EXPECT_EQ(beeps, 0);
  EXPECT_EQ(Task().ResetPeriod, 250u);
  SetWindowTextW(edit, L"abc");
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(Task().ResetPeriod, 0u);
  SetWindowTextW(edit, L"");
  EXPECT_EQ(beeps, 2);
  EXPECT_EQ(Task().ResetPeriod, 0u);
}

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
  EXPECT_EQ(Task().columns, CurrentOutputSize().width / 20);
  EXPECT_EQ(Task().rows, CurrentOutputSize().height / 20);
}

TEST_F(ConfigSheetTest, GeneralPageAppliesEachControlToTheTask) {
  Open(0);
  HWND page = Page();
  SendMessageW(GetDlgItem(page, IDC_BORN_0 + 6), BM_CLICK, 0, 0);
  EXPECT_EQ(Task().RuleBorn[6], 1);
  SendMessageW(GetDlgItem(page, IDC_SURVIVE_0 + 2), BM_CLICK, 0, 0);
  EXPECT_EQ(Task().RuleSurvive[2], 0);
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

TEST_F(ConfigSheetTest, OkQuitsWithOneAndCancelAndCloseBoxWithZero) {
  struct Case { UINT message; WPARAM wParam; int code; };
  for (const Case& c : {Case{WM_COMMAND, IDOK, 1}, Case{WM_COMMAND, IDCANCEL, 0}, Case{WM_SYSCOMMAND, SC_CLOSE, 0}}) {
    Open(0);
    HWND s = sheet->Handle();
    PostMessageW(s, c.message, c.wParam, 0);
    ASSERT_TRUE(pump->Until([&] { return pump->quitSeen; }));
    EXPECT_EQ(pump->quitCode, c.code);
    EXPECT_FALSE(IsWindow(s));
    EXPECT_EQ(sheet->result, c.code);
    sheet.reset();
  }
}

namespace {
std::vector<std::wstring> ComboTexts(HWND combo) {
  std::vector<std::wstring> texts;
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t buffer[300] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
    texts.push_back(buffer);
  }
  return texts;
}

int ComboIndexOf(HWND combo, const wchar_t* text) {
  const auto texts = ComboTexts(combo);
  for (size_t i = 0; i < texts.size(); ++i)
    if (texts[i] == text) return static_cast<int>(i);
  return -1;
}

std::wstring CurrentName() {
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  const PaletteRecord* r = store.FindByGuid(store.currentGuid);
  return r != nullptr ? std::wstring(r->name) : std::wstring();
}

// A store of three palettes whose names sort before "Default": Aqua (current), Blaze, Default.
class PaletteSheetTest : public ConfigSheetTest {
 protected:
  void SetUp() override {
    ConfigSheetTest::SetUp();
    CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
    store.Clear();
    CGradient aqua, blaze;
    aqua.AddPeg(RGB(0, 200, 255), 0.5);
    blaze.AddPeg(RGB(255, 80, 0), 0.25);
    blaze.AddPeg(RGB(255, 255, 0), 0.75);
    const int32_t a = store.AddPalette(aqua, L"Aqua");
    store.AddPalette(blaze, L"Blaze");
    store.EnsureDefaultPalette();
    store.currentGuid = store.palettes[static_cast<size_t>(a)]->guid;
    // The task's colours from the current palette, as the settings loader leaves them.
    RebuildColourTable(store.palettes[static_cast<size_t>(a)]->gradient);
  }
};
}  // namespace

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

TEST_F(PaletteSheetTest, PaletteSetupCancelLeavesTheStoreUnchanged) {
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  const PaletteGuid before = store.currentGuid;
  CDlgPaletteEdit dialog;
  bool defaultDeletable = true;
  ModalDriver driver(L"Palette setup", [&](HWND w) {
    HWND list = GetDlgItem(w, IDC_PALETTE_LIST);
    SendMessageW(list, CB_SETCURSEL, ComboIndexOf(list, L"Default"), 0);
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDC_PALETTE_LIST, CBN_SELENDOK), reinterpret_cast<LPARAM>(list));
    defaultDeletable = IsWindowEnabled(GetDlgItem(w, IDC_DELETE)) != FALSE;
    SendMessageW(list, CB_SETCURSEL, ComboIndexOf(list, L"Aqua"), 0);
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDC_PALETTE_LIST, CBN_SELENDOK), reinterpret_cast<LPARAM>(list));
    SendMessageW(GetDlgItem(w, IDC_DELETE), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  EXPECT_TRUE(driver.Acted());
  EXPECT_FALSE(defaultDeletable);
  EXPECT_EQ(dialog.store.Count(), 2);  // the working copy lost "Aqua"...
  EXPECT_EQ(store.Count(), 3);         // ...the store did not
  EXPECT_TRUE(store.currentGuid == before);
}

TEST_F(PaletteSheetTest, VideoDeleteMakesTheNextEntryCurrentAndIsDisabledOnDefault) {
  Open(1);
  Select(3);
  HWND page = Page();
  HWND combo = GetDlgItem(page, IDC_PALETTE_LIST);
  ASSERT_EQ(ComboTexts(combo), (std::vector<std::wstring>{L"Aqua", L"Blaze", L"Default"}));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_DELETE)));
  SendMessageW(GetDlgItem(page, IDC_DELETE), BM_CLICK, 0, 0);
  EXPECT_EQ(ComboTexts(combo), (std::vector<std::wstring>{L"Blaze", L"Default"}));
  EXPECT_EQ(CurrentName(), L"Blaze");
  EXPECT_EQ(static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)), 0);
  Choose(page, IDC_PALETTE_LIST, 1);
  EXPECT_EQ(CurrentName(), L"Default");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_DELETE)));
  // The colour table follows the current palette.
  EXPECT_EQ(Task().paletteSize, 1000);
}

TEST_F(PaletteSheetTest, VideoSaveAsWithAnExistingNameMakesASecondPalette) {
  Open(1);
  Select(3);
  HWND page = Page();
  std::wstring offered;
  ModalDriver driver(L"Enter palette name", [&](HWND w) {
    wchar_t buffer[300] = {};
    GetDlgItemTextW(w, IDC_NAME_EDIT, buffer, 300);
    offered = buffer;
    SetDlgItemTextW(w, IDC_NAME_EDIT, L"Blaze");
    SendMessageW(GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
  });
  SendMessageW(GetDlgItem(page, IDC_SAVE_AS), BM_CLICK, 0, 0);
  EXPECT_TRUE(driver.Acted());
  EXPECT_EQ(offered, L"Aqua");
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  ASSERT_EQ(store.Count(), 4);
  int named = 0;
  for (const auto& r : store.palettes) named += std::wstring(r->name) == L"Blaze";
  EXPECT_EQ(named, 2);
  // The new one is current and carries the gradient that was shown (Aqua's).
  const PaletteRecord* current = store.FindByGuid(store.currentGuid);
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(std::wstring(current->name), L"Blaze");
  EXPECT_EQ(current->gradient.GetPegCount(), 1);
  EXPECT_EQ(ComboTexts(GetDlgItem(page, IDC_PALETTE_LIST)).size(), 4u);
}

namespace {
LPARAM ClientPoint(POINT p) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x)), static_cast<WORD>(static_cast<SHORT>(p.y)));
}

// Inside inner peg `index`'s triangle marker: the centroid of its corners.
POINT MarkerPoint(CGradientCtrl& control, int32_t index) {
  for (const GradientMarker& m : control.CurrentLayout().markers) {
    if (m.pegIndex != index || m.square) continue;
    return {(m.corners[0].x + m.corners[1].x + m.corners[2].x) / 3,
            (m.corners[0].y + m.corners[1].y + m.corners[2].y) / 3};
  }
  ADD_FAILURE() << "no marker for peg " << index;
  return {0, 0};
}

// The user's drag of inner peg `index` along a horizontal bar to `position`,
// released inside the control.
void DragPeg(CGradientCtrl& control, int32_t index, double position) {
  const POINT from = MarkerPoint(control, index);
  const POINT to{PegPixel(control.CurrentLayout(), position), from.y};
  HWND w = control.Handle();
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(from));
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint({(from.x + to.x) / 2, from.y}));
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(to));
  SendMessageW(w, WM_LBUTTONUP, 0, ClientPoint(to));
}

// The user's double-click in the middle of the colour bar.
void DoubleClickBar(CGradientCtrl& control) {
  const ScreenRect& bar = control.CurrentLayout().bar;
  const POINT p{(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
  HWND w = control.Handle();
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(p));
  SendMessageW(w, WM_LBUTTONUP, 0, ClientPoint(p));
  SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(p));
  SendMessageW(w, WM_LBUTTONUP, 0, ClientPoint(p));
}

// Picks `name` in a palette list and confirms it, as the drop-down does.
void ConfirmPalette(HWND owner, const wchar_t* name) {
  HWND list = GetDlgItem(owner, IDC_PALETTE_LIST);
  SendMessageW(list, CB_SETCURSEL, ComboIndexOf(list, name), 0);
  SendMessageW(owner, WM_COMMAND, MAKEWPARAM(IDC_PALETTE_LIST, CBN_SELENDOK), reinterpret_cast<LPARAM>(list));
}

const PaletteRecord* Named(const CPaletteContainerBase& store, const wchar_t* name) {
  for (const auto& r : store.palettes)
    if (std::wstring(r->name) == name) return r.get();
  return nullptr;
}

std::vector<double> Positions(const CGradient& g) {
  std::vector<double> out;
  for (int32_t i = 0; i < g.GetPegCount(); ++i) out.push_back(g.GetPeg(i).position);
  return out;
}

// The running task's colour table as bytes, and the one `g` should give.
std::vector<int> TaskTable() {
  VivarnTaskBse& task = *VivarnTask::Instance().get();
  std::lock_guard<std::recursive_mutex> guard(task.lock);
  std::vector<int> out;
  for (int32_t i = 0; i < task.paletteSize; ++i) {
    const Rgba8 entry = task.paletteColours[static_cast<size_t>(i)];
    out.insert(out.end(), {entry.r, entry.g, entry.b});
  }
  return out;
}

std::vector<int> TableOf(const CGradient& g) {
  std::vector<uint8_t> bgr(static_cast<size_t>(kColourTableEntries) * 3, 0);
  g.FillColourTable(bgr.data(), kColourTableEntries);
  std::vector<int> out;
  for (int32_t i = 0; i < kColourTableEntries; ++i)
    for (int c = 2; c >= 0; --c) out.push_back(bgr[static_cast<size_t>(i) * 3 + c]);
  return out;
}
}  // namespace

TEST_F(PaletteSheetTest, PaletteSetupKeepsPegEditsPerPaletteAndCancelDropsThem) {
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  const PaletteGuid before = store.currentGuid;
  CDlgPaletteEdit dialog;
  bool attached = false, horizontal = false;
  std::wstring customText;
  std::vector<double> dragged, onBlaze, backOnAqua;
  ModalDriver driver(L"Palette setup", [&](HWND w) {
    attached = CWindowImpl::FromHandle(GetDlgItem(w, IDC_GRADIENT)) == &dialog.gradient &&
               dialog.view == &dialog.gradient;
    horizontal = dialog.gradient.IsHorizontal();
    customText = dialog.gradient.GetCustomText();
    if (attached) {
      DragPeg(dialog.gradient, 0, 0.8);
      dragged = Positions(dialog.gradient.GetGradient());
      ConfirmPalette(w, L"Blaze");
      onBlaze = Positions(dialog.gradient.GetGradient());
      ConfirmPalette(w, L"Aqua");
      backOnAqua = Positions(dialog.gradient.GetGradient());
    }
    SendMessageW(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  EXPECT_TRUE(driver.Acted());
  ASSERT_TRUE(attached);
  EXPECT_TRUE(horizontal);  // a wide control without an orientation style
  EXPECT_EQ(customText, L"Custom...");
  ASSERT_EQ(dragged.size(), 1u);
  EXPECT_NEAR(dragged[0], 0.8, 0.01);
  EXPECT_EQ(onBlaze, (std::vector<double>{0.25, 0.75}));
  EXPECT_EQ(backOnAqua, dragged);
  // The working copy kept the edit; the store did not get it.
  EXPECT_EQ(Positions(Named(dialog.store, L"Aqua")->gradient), dragged);
  EXPECT_EQ(Positions(Named(store, L"Aqua")->gradient), (std::vector<double>{0.5}));
  EXPECT_TRUE(store.currentGuid == before);
  // The dialog is gone and so is its control.
  EXPECT_EQ(dialog.view, nullptr);
  EXPECT_EQ(dialog.gradient.Handle(), nullptr);
}

TEST_F(PaletteSheetTest, PaletteSetupOkCommitsTheEditsOfEveryPaletteTouched) {
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  CDlgPaletteEdit dialog;
  ModalDriver driver(L"Palette setup", [&](HWND w) {
    DragPeg(dialog.gradient, 0, 0.8);  // Aqua's only peg
    ConfirmPalette(w, L"Blaze");
    DragPeg(dialog.gradient, 1, 0.9);  // Blaze's second, still shown at OK
    SendMessageW(GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  EXPECT_TRUE(driver.Acted());
  const std::vector<double> aqua = Positions(Named(store, L"Aqua")->gradient);
  const std::vector<double> blaze = Positions(Named(store, L"Blaze")->gradient);
  ASSERT_EQ(aqua.size(), 1u);
  EXPECT_NEAR(aqua[0], 0.8, 0.01);
  ASSERT_EQ(blaze.size(), 2u);
  EXPECT_EQ(blaze[0], 0.25);
  EXPECT_NEAR(blaze[1], 0.9, 0.01);
  EXPECT_EQ(CurrentName(), L"Blaze");
}

TEST_F(PaletteSheetTest, VideoPegEditsGoIntoTheCurrentPaletteAndTheTaskColours) {
  Open(1);
  Select(3);
  HWND page = Page();
  CDlgPageVideo& video = sheet->video;
  ASSERT_EQ(CWindowImpl::FromHandle(GetDlgItem(page, IDC_GRADIENT)), &video.gradient);
  ASSERT_EQ(video.gradientView, &video.gradient);
  EXPECT_EQ(video.gradient.GetBackgroundColour(), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(video.gradient.GetCustomText(), L"Custom...");
  EXPECT_EQ(Positions(video.gradient.GetGradient()), (std::vector<double>{0.5}));  // Aqua
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  const PaletteRecord* aqua = Named(store, L"Aqua");
  const std::vector<int> tableBefore = TaskTable();
  ASSERT_EQ(tableBefore, TableOf(aqua->gradient));
  const size_t entry = 650 * 3 + 1;  // green at 0.65, between the peg's old and new place

  // A drag: moved and dropped.
  DragPeg(video.gradient, 0, 0.8);
  ASSERT_EQ(aqua->gradient.GetPegCount(), 1);
  EXPECT_NEAR(aqua->gradient.GetPeg(0).position, 0.8, 0.01);
  EXPECT_EQ(Positions(aqua->gradient), Positions(video.gradient.GetGradient()));
  const std::vector<int> tableMoved = TaskTable();
  EXPECT_NE(tableMoved[entry], tableBefore[entry]);
  EXPECT_EQ(tableMoved, TableOf(aqua->gradient));

  // A recolour through the control's picker: edited.
  const POINT marker = MarkerPoint(video.gradient, 0);
  ModalScript script({[&] {
                       CPickerWnd* picker = video.gradient.OpenPicker();
                       if (picker == nullptr || !IsWindowVisible(picker->Handle())) return false;
                       ClickPickerItem(*picker, 11);  // 0x008000
                       return true;
                     }},
                     [&] {
                       if (CPickerWnd* picker = video.gradient.OpenPicker())
                         PostMessageW(picker->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
                     });
  SendMessageW(video.gradient.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(marker));
  SendMessageW(video.gradient.Handle(), WM_RBUTTONUP, 0, ClientPoint(marker));
  EXPECT_FALSE(script.TimedOut());
  EXPECT_EQ(aqua->gradient.GetPeg(0).colour, 0x008000u);
  const std::vector<int> tableRecoloured = TaskTable();
  EXPECT_NE(tableRecoloured[entry], tableMoved[entry]);
  EXPECT_EQ(tableRecoloured, TableOf(aqua->gradient));

  // A double-click adds a peg in the middle; dragging the green one off the
  // control deletes it.
  DoubleClickBar(video.gradient);
  ASSERT_EQ(Positions(video.gradient.GetGradient()).size(), 2u);
  EXPECT_EQ(Positions(aqua->gradient), Positions(video.gradient.GetGradient()));
  const POINT green = MarkerPoint(video.gradient, 1);
  SendMessageW(video.gradient.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(green));
  SendMessageW(video.gradient.Handle(), WM_LBUTTONUP, 0, ClientPoint({green.x, green.y + 300}));
  ASSERT_EQ(video.gradient.GetGradient().GetPegCount(), 1);
  EXPECT_EQ(Positions(aqua->gradient), Positions(video.gradient.GetGradient()));
  EXPECT_NE(aqua->gradient.GetPeg(0).colour, 0x008000u);
  EXPECT_NE(TaskTable(), tableRecoloured);
  EXPECT_EQ(TaskTable(), TableOf(aqua->gradient));
  // Only the current palette changed.
  EXPECT_EQ(Positions(Named(store, L"Blaze")->gradient), (std::vector<double>{0.25, 0.75}));
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

TEST_F(ConfigSheetTest, VSyncBoxShowsTheSettingAndAClickLeavesTheChangeToTheKernelThread) {
  GLWindowSettingsBase& gl = *GLWindowSettings::Instance();
  gl.swapInterval = 1;
  gl.swapIntervalRequest.Drop();
  Open(1);
  Select(3);
  HWND page = Page();
  HWND box = GetDlgItem(page, IDC_VSYNC);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(gl.swapIntervalRequest.Pending());  // showing it asks for nothing
  // This thread, like the dialog thread of the program, never has a GL
  // context: the click can only set the value and ask.
  ASSERT_EQ(wglGetCurrentContext(), nullptr);
  int32_t asked = -1;
  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_EQ(gl.swapInterval.load(), 0);
  ASSERT_TRUE(gl.swapIntervalRequest.Take(asked));
  EXPECT_EQ(asked, 0);
  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_EQ(gl.swapInterval.load(), 1);
  ASSERT_TRUE(gl.swapIntervalRequest.Take(asked));
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(gl.swapIntervalRequest.Take(asked));
  // Other controls of the page leave vertical sync alone.
  for (int i = 0; i < 2; ++i) SendMessageW(GetDlgItem(page, IDC_SHOW_FPS), BM_CLICK, 0, 0);
  EXPECT_FALSE(gl.swapIntervalRequest.Pending());
  EXPECT_EQ(gl.swapInterval.load(), 1);

  // What OK saves.
  EXPECT_EQ(SaveSettings(), 1);
  DWORD stored = 7, size = sizeof stored;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Vivarn Screen Saver 2\\Settings", L"VSyncOn",
                         RRF_RT_REG_DWORD, nullptr, &stored, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(stored, 1u);

  // The page built afresh (the sheet drops and rebuilds the advanced pages)
  // shows it unticked once the setting is 0.
  SendMessageW(box, BM_CLICK, 0, 0);
  gl.swapIntervalRequest.Drop();
  HWND advanced = GetDlgItem(sheet->Handle(), IDC_ADVANCED);
  SendMessageW(advanced, BM_CLICK, 0, 0);
  ASSERT_TRUE(pump->Until([&] { return sheet->GetPageCount() == 2; }));
  SendMessageW(advanced, BM_CLICK, 0, 0);
  ASSERT_TRUE(pump->Until([&] { return sheet->GetPageCount() == 5; }));
  Select(3);
  EXPECT_NE(Page(), page);
  EXPECT_EQ(IsDlgButtonChecked(Page(), IDC_VSYNC), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(gl.swapInterval.load(), 0);
}

namespace {
// What OK leaves in the registry: the sheet is closed with its OK button, the
// settings are saved as the run mode does on exit code 1, and the stored
// palettes and background are read back.
struct Stored {
  std::wstring current;
  std::vector<double> aqua, blaze, rainbow;
  float bk[4] = {};
};

class SheetOkTest : public PaletteSheetTest {
 protected:
  Stored PressOk() {
    Stored stored;
    SendMessageW(GetDlgItem(sheet->Handle(), IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(pump->Until([&] { return pump->quitSeen; }));
    EXPECT_EQ(pump->quitCode, 1);
    EXPECT_EQ(SaveSettings(), 1);
    CPaletteContainerBase read;
    EXPECT_TRUE(read.Load());
    const PaletteRecord* current = read.FindByGuid(read.currentGuid);
    if (current != nullptr) stored.current = current->name;
    for (auto [name, into] : {std::pair{L"Aqua", &stored.aqua}, std::pair{L"Blaze", &stored.blaze},
                              std::pair{L"Default", &stored.rainbow}}) {
      const PaletteRecord* r = Named(read, name);
      if (r != nullptr) *into = Positions(r->gradient);
    }
    DWORD size = sizeof stored.bk;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Vivarn Screen Saver 2\\Settings", L"BkColor",
                           RRF_RT_REG_BINARY, nullptr, stored.bk, &size),
              ERROR_SUCCESS);
    return stored;
  }
  // Every palette as seeded: nothing was edited.
  static void ExpectGradientsAsSeeded(const Stored& s) {
    EXPECT_EQ(s.aqua, (std::vector<double>{0.5}));
    EXPECT_EQ(s.blaze, (std::vector<double>{0.25, 0.75}));
    EXPECT_EQ(s.rainbow.size(), 5u);
  }
  // A colour the colour button reports as the user's choice.
  void PickBackground(CColoursPage& page, COLORREF colour) {
    page.colourButton.SetColour(colour);
    HWND button = GetDlgItem(page.Handle(), IDC_BK_COLOR);
    SendMessageW(page.Handle(), WM_COMMAND, MAKEWPARAM(IDC_BK_COLOR, CLRN_CHANGED), reinterpret_cast<LPARAM>(button));
  }
  static std::wstring Shown(HWND page) { return SelectedComboText(GetDlgItem(page, IDC_PALETTE_LIST)); }
};
}  // namespace

TEST_F(SheetOkTest, PaletteChosenOnVideoOnlyIsSavedWithEveryGradientUntouched) {
  const float bk[4] = {Task().BkColor[0], Task().BkColor[1], Task().BkColor[2], Task().BkColor[3]};
  Open(1);
  Select(3);
  ConfirmPalette(Page(), L"Blaze");
  const Stored s = PressOk();
  EXPECT_EQ(s.current, L"Blaze");
  ExpectGradientsAsSeeded(s);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(s.bk[c], bk[c]);
}

TEST_F(SheetOkTest, GeneralThenVideoSavesTheChoiceMadeLast) {
  Open(1);
  ConfirmPalette(Page(), L"Blaze");
  Select(1);  // Rules and Field opened, not touched
  Select(2);
  Select(3);
  EXPECT_EQ(Shown(Page()), L"Blaze");
  ConfirmPalette(Page(), L"Default");
  const Stored s = PressOk();
  EXPECT_EQ(s.current, L"Default");
  ExpectGradientsAsSeeded(s);
}

TEST_F(SheetOkTest, VideoThenGeneralSavesTheChoiceMadeLast) {
  Open(1);
  Select(3);
  ConfirmPalette(Page(), L"Blaze");
  Select(0);
  EXPECT_EQ(Shown(Page()), L"Blaze");
  ConfirmPalette(Page(), L"Default");
  const Stored s = PressOk();
  EXPECT_EQ(s.current, L"Default");
  ExpectGradientsAsSeeded(s);
}

TEST_F(SheetOkTest, BackgroundChosenOnGeneralAfterVideoIsSaved) {
  Open(1);
  Select(3);
  PickBackground(sheet->video, RGB(0, 255, 0));
  ConfirmPalette(Page(), L"Blaze");
  Select(0);
  EXPECT_EQ(Shown(Page()), L"Blaze");
  EXPECT_EQ(sheet->general.colourButton.GetColour(), RGB(0, 255, 0));
  PickBackground(sheet->general, RGB(255, 0, 51));
  const Stored s = PressOk();
  EXPECT_FLOAT_EQ(s.bk[0], 1.0f);
  EXPECT_FLOAT_EQ(s.bk[1], 0.0f);
  EXPECT_FLOAT_EQ(s.bk[2], 0.2f);
  EXPECT_FLOAT_EQ(s.bk[3], 1.0f);
  EXPECT_EQ(s.current, L"Blaze");
  ExpectGradientsAsSeeded(s);
}
