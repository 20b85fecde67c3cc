// The colour button and its picker under wine: the button is attached to a
// real owner-drawn button in a host window that reflects notifications; the
// picker's own message loop is driven from a thread timer while it runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "config/controls/color_button_win32.h"
#include "config/controls/color_dialog_win32.h"
#include "config/controls/picker_wnd_win32.h"
#include "tests/config/picker_click_win32.h"
#include "tests/config/test_host_win32.h"

namespace {
constexpr UINT kButtonId = 1037;
const wchar_t kTemplateText[] = L"xxx\nDefalt\nSelect custom...\n";

struct ButtonFixture : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(host.Open());
    HWND w = CreateWindowExW(0, L"BUTTON", kTemplateText, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 40, 40, 90, 24,
                             host.Handle(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kButtonId)),
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(button.Attach(w));
  }

  // Clicks the button and runs `steps` on the open picker; the picker is
  // escaped if the script cannot finish in time.
  void ClickWith(std::vector<ModalScript::Step> steps) {
    ModalScript script(std::move(steps), [this] {
      if (button.OpenPicker()) PostMessageW(button.OpenPicker()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_TRUE(script.Finished());
  }

  // A step that waits for the picker to be shown and then runs `action`.
  ModalScript::Step OnPicker(std::function<void(CPickerWnd&)> action) {
    return [this, action] {
      CPickerWnd* picker = button.OpenPicker();
      if (picker == nullptr || !IsWindowVisible(picker->Handle())) return false;
      action(*picker);
      return true;
    };
  }

  static void Key(CPickerWnd& p, WPARAM key, bool post = true) {
    if (post) PostMessageW(p.Handle(), WM_KEYDOWN, key, 0);
    else SendMessageW(p.Handle(), WM_KEYDOWN, key, 0);
  }
  static void Click(CPickerWnd& p, int32_t item) { ClickPickerItem(p, item); }

  int ButtonCommands(UINT code) const {
    int n = 0;
    for (const auto& c : host.commands) n += c.id == kButtonId && c.code == code;
    return n;
  }

  TestHost host;
  CColorButton button;
};

TEST_F(ButtonFixture, AttachingMakesTheButtonOwnerDrawn) {
  EXPECT_EQ(GetWindowLongPtrW(button.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(button.GetColour(), CLR_NONE);
  EXPECT_EQ(button.GetDefaultColour(), CLR_NONE);
}

TEST_F(ButtonFixture, ColourOutsideThePaletteOpensWithTheCustomEntrySelected) {
  button.SetColour(0x4C0000);
  int32_t selectedAtOpen = -5;
  ClickWith({OnPicker([&](CPickerWnd& p) {
    selectedAtOpen = p.GetSelected();
    Key(p, VK_ESCAPE);
  })});
  EXPECT_EQ(selectedAtOpen, PICKER_CUSTOM);
}

TEST_F(ButtonFixture, LeftOnTheFirstCellSelectsTheLastAndEnterChoosesIt) {
  button.SetColour(0x000000);
  int32_t atOpen = -5, afterLeft = -5;
  ClickWith({OnPicker([&](CPickerWnd& p) {
    atOpen = p.GetSelected();
    Key(p, VK_LEFT, false);
    afterLeft = p.GetSelected();
    Key(p, VK_RETURN);
  })});
  EXPECT_EQ(atOpen, 0);
  EXPECT_EQ(afterLeft, 39);
  EXPECT_EQ(button.GetColour(), 0xFFFFFFu);
  EXPECT_EQ(ButtonCommands(CLRN_CHANGED), 1);
}

TEST_F(ButtonFixture, DownFromTheLastRowStaysPut) {
  button.SetColour(kPickerPalette[35]);
  int32_t afterDown = -5;
  ClickWith({OnPicker([&](CPickerWnd& p) {
    Key(p, VK_DOWN, false);
    afterDown = p.GetSelected();
    Key(p, VK_TAB);
  })});
  EXPECT_EQ(afterDown, 35);
  EXPECT_EQ(button.GetColour(), kPickerPalette[35]);
}

TEST_F(ButtonFixture, EscapeLeavesTheColourAndSendsNothing) {
  button.SetColour(0x123456);
  ClickWith({OnPicker([&](CPickerWnd& p) {
    Key(p, VK_RIGHT, false);  // moves the selection, but Escape discards it
    Key(p, VK_ESCAPE);
  })});
  EXPECT_EQ(button.GetColour(), 0x123456u);
  EXPECT_EQ(ButtonCommands(CLRN_CHANGED) + ButtonCommands(CLRN_DEFAULT) + ButtonCommands(CLRN_CUSTOM), 0);
}

TEST_F(ButtonFixture, RightClickOutsideLeavesTheColourAndSendsNothing) {
  button.SetColour(kPickerPalette[3]);
  ClickWith({OnPicker([&](CPickerWnd& p) {
    Key(p, VK_RIGHT, false);
    // (5, 5) of the host is far from the picker, which opens below the button.
    PostMessageW(host.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  })});
  EXPECT_EQ(button.GetColour(), kPickerPalette[3]);
  EXPECT_EQ(ButtonCommands(CLRN_CHANGED) + ButtonCommands(CLRN_DEFAULT) + ButtonCommands(CLRN_CUSTOM), 0);
}

TEST_F(ButtonFixture, LeftClickOutsideTakesTheSelectedCell) {
  button.SetColour(kPickerPalette[3]);
  ClickWith({OnPicker([&](CPickerWnd& p) {
    Key(p, VK_RIGHT, false);
    PostMessageW(host.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  })});
  EXPECT_EQ(button.GetColour(), kPickerPalette[4]);
  EXPECT_EQ(ButtonCommands(CLRN_CHANGED), 1);
}

TEST_F(ButtonFixture, ClickingACellChoosesItsColour) {
  button.SetColour(CLR_NONE);
  int32_t atOpen = -5;
  ClickWith({OnPicker([&](CPickerWnd& p) {
    atOpen = p.GetSelected();
    Click(p, 13);
  })});
  EXPECT_EQ(atOpen, -1);
  EXPECT_EQ(button.GetColour(), 0xFF0000u);
  EXPECT_EQ(ButtonCommands(CLRN_CHANGED), 1);
}

TEST_F(ButtonFixture, DefaultEntrySetsTheDefaultColourAndReportsTheChange) {
  button.SetColour(0x000000);
  button.SetDefaultColour(0x4C0000);
  ClickWith({OnPicker([&](CPickerWnd& p) { Click(p, PICKER_DEFAULT); })});
  EXPECT_EQ(button.GetColour(), 0x4C0000u);
  EXPECT_EQ(ButtonCommands(CLRN_DEFAULT), 1);
  EXPECT_EQ(ButtonCommands(CLRN_CHANGED), 1);
  // The button handled its own CLRN_DEFAULT before reporting the change.
  ASSERT_GE(host.commands.size(), 2u);
  EXPECT_EQ(host.commands.back().code, CLRN_CHANGED);
}

TEST_F(ButtonFixture, TextWithoutLineFeedsGivesNoDefaultOrCustomEntry) {
  SetWindowTextW(button.Handle(), L"Colour");
  button.SetColour(0x4C0000);
  RECT defaultRect{1, 1, 1, 1}, customRect{1, 1, 1, 1};
  int32_t selected = -5;
  SIZE size{};
  ClickWith({OnPicker([&](CPickerWnd& p) {
    defaultRect = p.ItemRect(PICKER_DEFAULT);
    customRect = p.ItemRect(PICKER_CUSTOM);
    selected = p.GetSelected();
    RECT client;
    GetClientRect(p.Handle(), &client);
    size = {client.right, client.bottom};
    Key(p, VK_ESCAPE);
  })});
  EXPECT_TRUE(IsRectEmpty(&defaultRect));
  EXPECT_TRUE(IsRectEmpty(&customRect));
  EXPECT_EQ(selected, -1);  // the custom entry is hidden, so nothing is selected
  EXPECT_EQ(size.cx, 8 * 18 + 2 * GetSystemMetrics(SM_CXEDGE));
  EXPECT_EQ(size.cy, 5 * 18 + 2 * GetSystemMetrics(SM_CYEDGE));
}

// Where each picker window was whenever it got a message while visible.
std::vector<RECT> g_visiblePickerRects;
LRESULT CALLBACK RecordVisiblePicker(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  wchar_t cls[16] = {};
  if (code == HC_ACTION && GetClassNameW(call->hwnd, cls, 16) && lstrcmpW(cls, L"PickerWnd") == 0 &&
      IsWindowVisible(call->hwnd)) {
    RECT r;
    GetWindowRect(call->hwnd, &r);
    g_visiblePickerRects.push_back(r);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(ButtonFixture, PickerOpensCentredUnderTheButtonAndIsNeverSeenElsewhere) {
  RECT buttonRect, pickerRect{};
  GetWindowRect(button.Handle(), &buttonRect);
  g_visiblePickerRects.clear();
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordVisiblePicker, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  ClickWith({OnPicker([&](CPickerWnd& p) {
    GetWindowRect(p.Handle(), &pickerRect);
    Key(p, VK_ESCAPE);
  })});
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(pickerRect.top, buttonRect.bottom);
  int buttonCentre = (buttonRect.left + buttonRect.right) / 2;
  int pickerCentre = (pickerRect.left + pickerRect.right) / 2;
  EXPECT_LE(std::abs(buttonCentre - pickerCentre), 1);
  ASSERT_FALSE(g_visiblePickerRects.empty());
  for (const RECT& r : g_visiblePickerRects) {
    EXPECT_EQ(r.left, pickerRect.left);
    EXPECT_EQ(r.top, pickerRect.top);
  }
}

TEST_F(ButtonFixture, AtTwiceTheDpiThePickerCellsAreTwiceAsLarge) {
  SetWindowTextW(button.Handle(), L"Colour");
  button.SetDpi(192);
  SIZE size{};
  RECT cell{}, swatchEdge{};
  ClickWith({OnPicker([&](CPickerWnd& p) {
    RECT client;
    GetClientRect(p.Handle(), &client);
    size = {client.right, client.bottom};
    cell = p.ItemRect(9);
    Key(p, VK_ESCAPE);
  })});
  EXPECT_EQ(size.cx, 8 * 36 + 2 * GetSystemMetrics(SM_CXEDGE));
  EXPECT_EQ(size.cy, 5 * 36 + 2 * GetSystemMetrics(SM_CYEDGE));
  EXPECT_EQ(cell.right - cell.left, 36);
  // The swatch keeps 6 pixels of its cell free.
  CColorPicker picker;
  ASSERT_TRUE(picker.CreatePopup(nullptr, nullptr));
  picker.SetDpi(192);
  picker.FillPalette();
  cell = picker.ItemRect(9);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 300);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(picker.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  const int y = (cell.top + cell.bottom) / 2;
  EXPECT_EQ(GetPixel(dc, cell.left + 5, y), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetPixel(dc, cell.left + 6, y), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(GetPixel(dc, cell.left + 7, y), kPickerPalette[9]);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST_F(ButtonFixture, CustomEntryRunsTheColourDialogWithTheCurrentColour) {
  button.SetColour(0x123456);
  ModalScript script(
      {OnPicker([&](CPickerWnd& p) { Click(p, PICKER_CUSTOM); }),
       [&] {
         // The colour dialog of this thread, once it is up.
         HWND dialog = nullptr;
         EnumThreadWindows(
             GetCurrentThreadId(),
             [](HWND w, LPARAM out) {
               wchar_t cls[16];
               GetClassNameW(w, cls, 16);
               if (IsWindowVisible(w) && lstrcmpW(cls, L"#32770") == 0) {
                 *reinterpret_cast<HWND*>(out) = w;
                 return FALSE;
               }
               return TRUE;
             },
             reinterpret_cast<LPARAM>(&dialog));
         if (dialog == nullptr) return false;
         PostMessageW(dialog, WM_COMMAND, IDOK, 0);
         return true;
       }},
      [this] {
        if (button.OpenPicker()) PostMessageW(button.OpenPicker()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
      });
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(script.Finished());
  EXPECT_EQ(ButtonCommands(CLRN_CUSTOM), 1);
  EXPECT_EQ(ButtonCommands(CLRN_CHANGED), 1);
  EXPECT_EQ(button.GetColour(), 0x123456u);  // OK at once keeps the preselected colour
}

TEST_F(ButtonFixture, HotTrackingFollowsThePointer) {
  EXPECT_FALSE(button.IsHot());
  SendMessageW(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(button.IsHot());
  SendMessageW(button.Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(button.IsHot());
}

// Pixels of the button's drawing, into a memory bitmap.
TEST_F(ButtonFixture, DrawingShowsTheSwatchInTheCurrentColour) {
  button.SetColour(0x00C0FF);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 90, 24);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = kButtonId;
  item.hwndItem = button.Handle();
  item.hDC = dc;
  item.rcItem = {0, 0, 90, 24};
  // Through the parent's reflection, as the dialog would send it.
  EXPECT_EQ(SendMessageW(host.Handle(), WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&item)), TRUE);
  EXPECT_EQ(GetPixel(dc, 30, 12), 0x00C0FFu);
  // The arrow's top row: 5 pixels wide, 9 pixels from the content's right edge.
  EXPECT_EQ(GetPixel(dc, 80, 10), GetSysColor(COLOR_BTNTEXT));
  button.SetColour(CLR_NONE);
  SendMessageW(host.Handle(), WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&item));
  EXPECT_NE(GetPixel(dc, 30, 12), 0x00C0FFu);
  // The arrow (the button-text pixels right of the swatch): 5 by 3 at 96 DPI,
  // 10 by 6 at 192, narrowing to a 1- and a 2-pixel tip.
  auto arrow = [&] {
    RECT box{90, 24, -1, -1};
    for (int y = 0; y < 24; ++y)
      for (int x = 50; x < 90; ++x)
        if (GetPixel(dc, x, y) == GetSysColor(COLOR_BTNTEXT)) {
          box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                 std::max<LONG>(box.bottom, y + 1)};
        }
    int tip = 0;
    for (int x = box.left; x < box.right; ++x) tip += GetPixel(dc, x, box.bottom - 1) == GetSysColor(COLOR_BTNTEXT);
    return std::vector<LONG>{box.right - box.left, box.bottom - box.top, tip};
  };
  button.SetColour(0x00C0FF);
  SendMessageW(host.Handle(), WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(arrow(), (std::vector<LONG>{5, 3, 1}));
  button.SetDpi(192);
  SendMessageW(host.Handle(), WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(arrow(), (std::vector<LONG>{10, 6, 2}));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(PickerWindow, PaintsSwatchesAndTheSelectionTint) {
  CColorPicker picker;
  ASSERT_TRUE(picker.CreatePopup(nullptr, nullptr));
  picker.SetTexts(L"Default", L"Custom");
  picker.FillPalette();
  picker.SetSelected(9);
  RECT client;
  GetClientRect(picker.Handle(), &client);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(picker.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  for (int32_t i = 0; i < kPickerColourCount; ++i) {
    RECT r = picker.ItemRect(i);
    EXPECT_EQ(GetPixel(dc, (r.left + r.right) / 2, (r.top + r.bottom) / 2), kPickerPalette[i]) << i;
  }
  RECT selected = picker.ItemRect(9);
  COLORREF tint = PickerTint(GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(GetPixel(dc, selected.left + 1, selected.top + 1), tint);
  RECT other = picker.ItemRect(10);
  EXPECT_EQ(GetPixel(dc, other.left + 1, other.top + 1), GetSysColor(COLOR_WINDOW));
  // Item hit tests agree with the item rectangles.
  EXPECT_EQ(picker.HitTest({selected.left + 2, selected.top + 2}), 9);
  RECT def = picker.ItemRect(PICKER_DEFAULT);
  EXPECT_EQ(picker.HitTest({def.left + 2, def.top + 2}), PICKER_DEFAULT);
  RECT custom = picker.ItemRect(PICKER_CUSTOM);
  EXPECT_EQ(picker.HitTest({custom.left + 2, custom.bottom - 2}), PICKER_CUSTOM);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(PickerWindow, KeysNotifyTheOwnerOfSelectionChanges) {
  TestHost owner;
  ASSERT_TRUE(owner.Open());
  CColorPicker picker;
  ASSERT_TRUE(picker.CreatePopup(owner.Handle(), nullptr));
  picker.FillPalette();
  EXPECT_EQ(SendMessageW(picker.Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  SendMessageW(picker.Handle(), WM_KEYDOWN, VK_HOME, 0);
  SendMessageW(picker.Handle(), WM_KEYDOWN, VK_HOME, 0);  // no change, no notification
  SendMessageW(picker.Handle(), WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(picker.GetSelected(), 39);
  EXPECT_EQ(owner.CountCommands(PKN_SELCHANGE), 2);
}

TEST(ColorDialog, CancelReturnsTwoAndTheRecordIsSetUpForAnyColour) {
  CColorDialog dialog(0x204060);
  EXPECT_EQ(dialog.Record().Flags & (CC_FULLOPEN | CC_ANYCOLOR | CC_ENABLEHOOK | CC_RGBINIT),
            static_cast<DWORD>(CC_FULLOPEN | CC_ANYCOLOR | CC_ENABLEHOOK | CC_RGBINIT));
  EXPECT_EQ(dialog.Record().lpCustColors, CColorDialog::CustomColours());
  EXPECT_EQ(CColorDialog(0).Record().Flags & CC_RGBINIT, 0u);
  EXPECT_EQ(CColorDialog(CLR_DEFAULT).Record().Flags & CC_RGBINIT, 0u);
  HWND boundWindow = nullptr;
  ModalScript script({[&] {
                       if (dialog.Handle() == nullptr) return false;
                       boundWindow = dialog.Handle();
                       PostMessageW(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
                       return true;
                     }},
                     [&] {
                       if (dialog.Handle()) PostMessageW(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
                     });
  EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  EXPECT_TRUE(script.Finished());
  EXPECT_NE(boundWindow, nullptr);
  EXPECT_EQ(dialog.Handle(), nullptr);
}
}  // namespace
