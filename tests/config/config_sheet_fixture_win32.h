// The configuration sheet built in-process and driven with real messages:
// the fixture the page tests share (a sheet on this thread and a pump for
// it, a seeded palette store) and the helpers that act as the user on the
// palette lists and the gradient controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/task_engine_link_win32.h"
#include "config/pages/dlg_config_sheet_win32.h"
#include "config/pages/dlg_palette_edit_win32.h"
#include "config/pages/palette_list_win32.h"
#include "engine/gl/gl_window_settings.h"
#include "life/settings_store.h"
#include "palette/palette_container.h"
#include "palette/starter_palettes.h"
#include "engine/core/resource_loader_win32.h"
#include "tests/config/modal_driver_win32.h"
#include "tests/config/picker_click_win32.h"
#include "tests/config/test_host_win32.h"
#include "life/task_host.h"
#include "tests/life/life_test_support.h"
#include "resources/resource.h"

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

inline std::wstring Text(HWND w) {
  wchar_t buffer[256] = {};
  GetWindowTextW(w, buffer, 256);
  return buffer;
}

class ConfigSheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program's host: vertical sync reaches the GL window's settings and
    // the field is sized for their output, as in the program.
    ConnectTaskToEngine();
    VivarnTaskBse& task = Task();
    task.SetCellSize(10);
    // The field exists, as the sheet's preview has made it in the program:
    // from here a new cell size resizes it at once.
    task.ApplyCellSize();
    task.SetLifeSpeed(0.0f);
    task.SetDieStep(0.9f);
    task.SetResetPeriod(1000);
    task.SetPeriodicResetOn(true);
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

// The tab control's titles, left to right.
inline std::vector<std::wstring> TabTitles(HWND tab) {
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

inline std::vector<std::wstring> ComboTexts(HWND combo) {
  std::vector<std::wstring> texts;
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t buffer[300] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
    texts.push_back(buffer);
  }
  return texts;
}

inline int ComboIndexOf(HWND combo, const wchar_t* text) {
  const auto texts = ComboTexts(combo);
  for (size_t i = 0; i < texts.size(); ++i)
    if (texts[i] == text) return static_cast<int>(i);
  return -1;
}

inline std::wstring CurrentName() {
  CPaletteContainerBase& store = *CPaletteContainer::Instance().get();
  const PaletteRecord* r = store.FindByGuid(store.currentGuid);
  return r != nullptr ? std::wstring(r->name) : std::wstring();
}

// Every child of every page lies inside the tabs' display area, so nothing a
// page shows is cut at the tab control's edge.
inline void ExpectPageInsideTabs(HWND page, HWND tab) {
  RECT display;
  GetWindowRect(tab, &display);
  TabCtrl_AdjustRect(tab, FALSE, &display);
  for (HWND child = GetWindow(page, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_TRUE(r.left >= display.left && r.top >= display.top && r.right <= display.right &&
                r.bottom <= display.bottom)
        << "control " << GetDlgCtrlID(child) << " (" << r.left << "," << r.top << ")-(" << r.right << ","
        << r.bottom << ") outside the tabs' area, bottom " << display.bottom;
  }
}

// The starter palettes' names in the user's language, as a new user's store has them.
inline std::vector<std::wstring> StarterNames() {
  std::vector<std::wstring> names;
  for (const StarterPalette& palette : kStarterPalettes) names.push_back(LoadResourceString(palette.nameId));
  return names;
}

// Each entry of the closed list is shown whole: selected, it needs no tip.
inline void ExpectEntriesShownWhole(HWND list, const std::vector<std::wstring>& names) {
  for (const std::wstring& name : names) {
    const int index = ComboIndexOf(list, name.c_str());
    ASSERT_GE(index, 0) << "not listed";
    SendMessageW(list, CB_SETCURSEL, index, 0);
    EXPECT_EQ(ClosedComboTip(list), L"") << "cut off in the closed list";
  }
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

inline LPARAM ClientPoint(POINT p) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x)), static_cast<WORD>(static_cast<SHORT>(p.y)));
}

// Inside inner peg `index`'s triangle marker: the centroid of its corners.
inline POINT MarkerPoint(CGradientCtrl& control, int32_t index) {
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
inline void DragPeg(CGradientCtrl& control, int32_t index, double position) {
  const POINT from = MarkerPoint(control, index);
  const POINT to{PegPixel(control.CurrentLayout(), position), from.y};
  HWND w = control.Handle();
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(from));
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint({(from.x + to.x) / 2, from.y}));
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(to));
  SendMessageW(w, WM_LBUTTONUP, 0, ClientPoint(to));
}

// The user's double-click in the middle of the colour bar.
inline void DoubleClickBar(CGradientCtrl& control) {
  const ScreenRect& bar = control.CurrentLayout().bar;
  const POINT p{(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
  HWND w = control.Handle();
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(p));
  SendMessageW(w, WM_LBUTTONUP, 0, ClientPoint(p));
  SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(p));
  SendMessageW(w, WM_LBUTTONUP, 0, ClientPoint(p));
}

// Picks `name` in a palette list and confirms it, as the drop-down does.
inline void ConfirmPalette(HWND owner, const wchar_t* name) {
  HWND list = GetDlgItem(owner, IDC_PALETTE_LIST);
  SendMessageW(list, CB_SETCURSEL, ComboIndexOf(list, name), 0);
  SendMessageW(owner, WM_COMMAND, MAKEWPARAM(IDC_PALETTE_LIST, CBN_SELENDOK), reinterpret_cast<LPARAM>(list));
}

inline const PaletteRecord* Named(const CPaletteContainerBase& store, const wchar_t* name) {
  for (const auto& r : store.palettes)
    if (std::wstring(r->name) == name) return r.get();
  return nullptr;
}

inline std::vector<double> Positions(const CGradient& g) {
  std::vector<double> out;
  for (int32_t i = 0; i < g.GetPegCount(); ++i) out.push_back(g.GetPeg(i).position);
  return out;
}

// The running task's colour table as bytes, and the one `g` should give.
inline std::vector<int> TaskTable() {
  VivarnTaskBse& task = *VivarnTask::Instance().get();
  std::lock_guard<std::recursive_mutex> guard(task.lock);
  std::vector<int> out;
  for (int32_t i = 0; i < Mesh(task).paletteSize; ++i) {
    const Rgba8 entry = Mesh(task).paletteColours[static_cast<size_t>(i)];
    out.insert(out.end(), {entry.r, entry.g, entry.b});
  }
  return out;
}

inline std::vector<int> TableOf(const CGradient& g) {
  std::vector<uint8_t> bgr(static_cast<size_t>(kColourTableEntries) * 3, 0);
  g.FillColourTable(bgr.data(), kColourTableEntries);
  std::vector<int> out;
  for (int32_t i = 0; i < kColourTableEntries; ++i)
    for (int c = 2; c >= 0; --c) out.push_back(bgr[static_cast<size_t>(i) * 3 + c]);
  return out;
}
