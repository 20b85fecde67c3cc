// CHyperLink on real static controls under wine: colours from the user's
// Internet Explorer settings, painting, tooltip, and the visited state after
// the shell opened the target.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "config/controls/hyperlink_win32.h"

namespace {
const wchar_t kSettingsKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";

void SetAnchorValue(const wchar_t* name, const wchar_t* value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  if (value == nullptr) {
    RegDeleteValueW(key, name);
  } else {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(key);
}

class HyperLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetAnchorValue(L"Anchor Color", nullptr);
    SetAnchorValue(L"Anchor Color Visited", nullptr);
    parent = CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP, 10, 10, 300, 100, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent);
    SetAnchorValue(L"Anchor Color", nullptr);
    SetAnchorValue(L"Anchor Color Visited", nullptr);
  }
  HWND MakeStatic(DWORD style, const wchar_t* text) {
    return CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 5, 5, 200, 20, parent, nullptr,
                           nullptr, nullptr);
  }
  // Paints the link into a bitmap and counts the pixels of `colour`.
  int CountPixels(HWND link, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 20);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(link, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    int count = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 200; ++x)
        if (GetPixel(dc, x, y) == colour) ++count;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return count;
  }
  HWND parent = nullptr;
};
}  // namespace

TEST_F(HyperLinkTest, DefaultsToBlueAndTakesLabelFromTheControl) {
  CHyperLink link;
  HWND control = MakeStatic(SS_LEFT, L"example.org/vivarn");
  ASSERT_TRUE(link.SubclassWindow(control));
  EXPECT_EQ(link.linkColor, RGB(0, 0, 255));
  EXPECT_EQ(link.visitedColor, RGB(128, 0, 128));
  EXPECT_EQ(link.label, L"example.org/vivarn");
  EXPECT_TRUE(GetWindowLongPtrW(control, GWL_STYLE) & SS_NOTIFY);
  EXPECT_GT(CountPixels(control, RGB(0, 0, 255)), 20);
  EXPECT_EQ(CountPixels(control, RGB(0, 128, 0)), 0);
}

TEST_F(HyperLinkTest, AnchorColourFromTheUserSettingsMakesTheLinkGreen) {
  SetAnchorValue(L"Anchor Color", L"0,128,0");
  SetAnchorValue(L"Anchor Color Visited", L"200,10,20");
  CHyperLink link;
  HWND control = MakeStatic(SS_LEFT, L"example.org/vivarn");
  ASSERT_TRUE(link.SubclassWindow(control));
  EXPECT_EQ(link.linkColor, RGB(0, 128, 0));
  EXPECT_EQ(link.visitedColor, RGB(200, 10, 20));
  EXPECT_GT(CountPixels(control, RGB(0, 128, 0)), 20);
  EXPECT_EQ(CountPixels(control, RGB(0, 0, 255)), 0);
}

TEST_F(HyperLinkTest, UnreadableAnchorColourKeepsTheDefault) {
  SetAnchorValue(L"Anchor Color", L"0,128");
  CHyperLink link;
  ASSERT_TRUE(link.SubclassWindow(MakeStatic(SS_LEFT, L"x")));
  EXPECT_EQ(link.linkColor, RGB(0, 0, 255));
}

TEST_F(HyperLinkTest, TooltipShowsTheTarget) {
  CHyperLink link;
  HWND control = MakeStatic(SS_LEFT, L"vivarn@example.org");
  ASSERT_TRUE(link.SubclassWindow(control));
  link.SetHyperLink(L"mailto:vivarn@example.org?subject=Vivarn%20Screensaver");
  HWND tooltip = nullptr;
  // The tooltip is an owned popup of the control.
  EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM out) -> BOOL {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) *reinterpret_cast<HWND*>(out) = w;
    return TRUE;
  }, reinterpret_cast<LPARAM>(&tooltip));
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[256] = {};
  TOOLINFOW info = {};
  info.cbSize = sizeof(info);
  info.hwnd = control;
  info.uId = 1;
  info.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(text, L"mailto:vivarn@example.org?subject=Vivarn%20Screensaver");
}

TEST_F(HyperLinkTest, SuccessfulOpenMarksVisitedAndFailedOpenDoesNot) {
  CHyperLink link;
  HWND control = MakeStatic(SS_LEFT, L"link");
  ASSERT_TRUE(link.SubclassWindow(control));
  link.SetHyperLink(L"Z:\\no\\such\\place\\nothing.vivarn-missing");
  EXPECT_FALSE(link.Navigate());
  EXPECT_FALSE(link.visited);
  EXPECT_EQ(link.CurrentColor(), RGB(0, 0, 255));
  // A system program that ends by itself at once.
  wchar_t program[MAX_PATH] = {};
  GetSystemDirectoryW(program, MAX_PATH);
  lstrcatW(program, L"\\hostname.exe");
  link.SetHyperLink(program);
  // A click inside the control opens the target.
  SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(link.visited);
  EXPECT_EQ(link.CurrentColor(), RGB(128, 0, 128));
  EXPECT_GT(CountPixels(control, RGB(128, 0, 128)), 20);
}

TEST_F(HyperLinkTest, ControlsThatDrawNoTextAreNotPaintedAsLinks) {
  CHyperLink link;
  ASSERT_TRUE(link.SubclassWindow(MakeStatic(SS_BLACKRECT, L"")));
  EXPECT_FALSE(link.paintLabel);
}

TEST_F(HyperLinkTest, DestroyingTheControlFirstDetachesTheLink) {
  CHyperLink link;
  HWND control = MakeStatic(SS_LEFT, L"x");
  ASSERT_TRUE(link.SubclassWindow(control));
  DestroyWindow(control);
  EXPECT_EQ(link.m_hWnd, nullptr);
  EXPECT_FALSE(link.SubclassWindow(control));
}
