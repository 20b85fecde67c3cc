// The configuration sheet's frame: the tabs the Advanced box shows, the
// title, buttons, preview pane and links, and how the sheet closes.
#include <string>
#include <vector>

#include "tests/config/config_sheet_fixture_win32.h"

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

TEST_F(ConfigSheetTest, PagesFitInsideTheTabsAndTheGeneralListShowsWholeNames) {
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  store.Clear();
  const std::wstring tooLong = L"Evening colours for the long winter nights";
  for (const std::wstring& name : StarterNames()) store.AddPalette(CGradient(), name.c_str());
  store.AddPalette(CGradient(), tooLong.c_str());
  store.EnsureDefaultPalette();
  Open(1);
  for (int index = 0; index < 5; ++index) {
    Select(index);
    ExpectPageInsideTabs(Page(), sheet->GetTabControl());
  }
  Select(0);
  HWND list = GetDlgItem(Page(), IDC_PALETTE_LIST);
  ExpectEntriesShownWhole(list, StarterNames());
  // A name no list is wide enough for is shown whole in the list's tooltip.
  SendMessageW(list, CB_SETCURSEL, ComboIndexOf(list, tooLong.c_str()), 0);
  EXPECT_EQ(ClosedComboTip(list), tooLong);
  HWND tip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM found) {
    wchar_t name[32] = {};
    GetClassNameW(w, name, 32);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0) return TRUE;
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    if (!SendMessageW(w, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool))) return TRUE;
    if (GetDlgCtrlID(reinterpret_cast<HWND>(tool.uId)) != IDC_PALETTE_LIST) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }, reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip, nullptr) << "no tooltip over the palette list";
  NMTTDISPINFOW ask{};
  ask.hdr = {tip, reinterpret_cast<UINT_PTR>(list), TTN_GETDISPINFOW};
  SendMessageW(Page(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ask));
  ASSERT_NE(ask.lpszText, nullptr);
  EXPECT_EQ(std::wstring(ask.lpszText), tooLong);
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
