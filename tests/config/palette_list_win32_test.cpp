// The palette list binding over a real combo box under wine, with a view that
// records what it was given.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/pages/palette_list_win32.h"
#include "tests/palette/palette_names.h"

namespace {

class RecordingView : public IGradientView {
 public:
  const CGradient& GetGradient() const override { return shown; }
  void SetGradient(const CGradient& gradient) override {
    shown.CopyFrom(gradient);
    ++sets;
  }
  void Invalidate() override { ++repaints; }

  CGradient shown;
  int sets = 0;
  int repaints = 0;
};

CGradient Solid(Colour c) {
  CGradient g;
  g.SetPeg(PEG_START, c, 0.0);
  g.SetPeg(PEG_END, c, 1.0);
  return g;
}

struct Entry {
  std::wstring text;
  LRESULT data;
};

class PaletteCombo : public ::testing::Test {
 protected:
  void SetUp() override { Make(0); }
  void TearDown() override {
    if (parent) DestroyWindow(parent);
  }

  void Make(DWORD extraStyle) {
    if (parent) DestroyWindow(parent);
    parent = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | extraStyle, 0, 0,
                            200, 200, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(combo, nullptr);
  }

  std::vector<Entry> Entries() const {
    std::vector<Entry> out;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wchar_t text[300] = {};
      SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      out.push_back({text, SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)});
    }
    return out;
  }

  LRESULT Selected() const { return SendMessageW(combo, CB_GETCURSEL, 0, 0); }

  // Palettes [A, "Default", B].
  void FillStore() {
    store.AddPalette(Solid(0x0000AA), Name("A").c_str());
    store.AddPalette(Solid(0x00DDDD), Name("Default").c_str());
    store.AddPalette(Solid(0x0000BB), Name("B").c_str());
  }

  HWND parent = nullptr;
  HWND combo = nullptr;
  CPaletteContainerBase store;
};

TEST_F(PaletteCombo, DefaultGoesAfterTheOthersAndTheExtraEntryLast) {
  FillStore();
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"left over"));
  FillPaletteCombo(combo, store, L"Default", L"Edit...");
  const std::vector<Entry> entries = Entries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].text, L"A");
  EXPECT_EQ(entries[0].data, 0);
  EXPECT_EQ(entries[1].text, L"B");
  EXPECT_EQ(entries[1].data, 2);
  EXPECT_EQ(entries[2].text, L"Default");
  EXPECT_EQ(entries[2].data, 1);
  EXPECT_EQ(entries[3].text, L"Edit...");
  EXPECT_EQ(entries[3].data, -1);
}

TEST_F(PaletteCombo, LastDefaultInAnyCaseGetsTheLabelAndNoExtraEntryWithoutLabel) {
  store.AddPalette(Solid(1), Name("DEFAULT").c_str());
  store.AddPalette(Solid(2), Name("Z").c_str());
  store.AddPalette(Solid(3), Name("default").c_str());
  FillPaletteCombo(combo, store, L"(built in)", nullptr);
  const std::vector<Entry> entries = Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].text, L"Z");
  EXPECT_EQ(entries[0].data, 1);
  EXPECT_EQ(entries[1].text, L"(built in)");
  EXPECT_EQ(entries[1].data, 2);
}

TEST_F(PaletteCombo, SortedComboKeepsEachIndexWithItsName) {
  Make(CBS_SORT);
  store.AddPalette(Solid(1), Name("Zebra").c_str());
  store.AddPalette(Solid(2), Name("Default").c_str());
  store.AddPalette(Solid(3), Name("Apple").c_str());
  FillPaletteCombo(combo, store, L"Default", L"Edit...");
  const std::vector<Entry> entries = Entries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].text, L"Apple");
  EXPECT_EQ(entries[0].data, 2);
  EXPECT_EQ(entries[1].text, L"Default");
  EXPECT_EQ(entries[1].data, 1);
  EXPECT_EQ(entries[2].text, L"Edit...");
  EXPECT_EQ(entries[2].data, -1);
  EXPECT_EQ(entries[3].text, L"Zebra");
  EXPECT_EQ(entries[3].data, 0);
}

TEST_F(PaletteCombo, SyncWithoutCommitSelectsTheCurrentPaletteAndShowsIt) {
  FillStore();
  store.currentGuid = store.palettes[2]->guid;  // B
  FillPaletteCombo(combo, store, L"Default", L"Edit...");
  RecordingView view;
  SyncPaletteCombo(combo, store, false, &view);
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(view.shown.ColourAt(0.5), 0x0000BBu);
  EXPECT_EQ(view.sets, 1);
  EXPECT_EQ(view.repaints, 1);
}

TEST_F(PaletteCombo, CommitStoresTheEditAndFollowsTheSelection) {
  FillStore();
  store.currentGuid = store.palettes[2]->guid;  // B
  FillPaletteCombo(combo, store, L"Default", L"Edit...");
  RecordingView view;
  SyncPaletteCombo(combo, store, false, &view);
  view.shown.SetPeg(PEG_END, 0x123456, 1.0);  // the user edits B
  SendMessageW(combo, CB_SETCURSEL, 0, 0);     // and picks A
  SyncPaletteCombo(combo, store, true, &view);
  EXPECT_EQ(store.palettes[2]->gradient.GetPeg(PEG_END).colour, 0x123456u);
  EXPECT_EQ(store.currentGuid, store.palettes[0]->guid);
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(view.shown.ColourAt(0.5), 0x0000AAu);
}

TEST_F(PaletteCombo, CommitOnTheExtraEntryOrNoSelectionChangesNoSelection) {
  FillStore();
  store.currentGuid = store.palettes[0]->guid;  // A
  FillPaletteCombo(combo, store, L"Default", L"Edit...");
  RecordingView view;
  view.shown.CopyFrom(Solid(0x00EE00));
  SendMessageW(combo, CB_SETCURSEL, 3, 0);  // "Edit..."
  SyncPaletteCombo(combo, store, true, &view);
  EXPECT_EQ(Selected(), 3);
  EXPECT_EQ(store.currentGuid, store.palettes[0]->guid);
  EXPECT_EQ(view.sets, 0);
  // The shown gradient was still stored into the current palette first.
  EXPECT_EQ(store.palettes[0]->gradient.ColourAt(0.5), 0x00EE00u);

  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SyncPaletteCombo(combo, store, true, nullptr);
  EXPECT_EQ(Selected(), CB_ERR);
  EXPECT_EQ(store.currentGuid, store.palettes[0]->guid);
}

TEST_F(PaletteCombo, UnknownCurrentPaletteOrMissingEntryChangesNothing) {
  FillStore();
  FillPaletteCombo(combo, store, L"Default", L"Edit...");
  RecordingView view;
  store.currentGuid = PaletteGuid{};
  SyncPaletteCombo(combo, store, false, &view);
  EXPECT_EQ(Selected(), CB_ERR);
  EXPECT_EQ(view.sets, 0);

  // A palette added after the fill has no entry yet.
  store.currentGuid = store.palettes[store.AddPalette(Solid(7), Name("New").c_str())]->guid;
  SyncPaletteCombo(combo, store, false, &view);
  EXPECT_EQ(Selected(), CB_ERR);
  EXPECT_EQ(view.sets, 0);
}

TEST_F(PaletteCombo, CommitOnAPaletteWithoutAGuidKeepsTheCurrentOneSelected) {
  FillStore();
  store.palettes[2]->guid = PaletteGuid{};  // B, loaded from a value not named by a GUID
  store.currentGuid = store.palettes[0]->guid;
  FillPaletteCombo(combo, store, L"Default", nullptr);
  SendMessageW(combo, CB_SETCURSEL, 1, 0);  // B
  SyncPaletteCombo(combo, store, true, nullptr);
  EXPECT_EQ(store.currentGuid, store.palettes[0]->guid);
  EXPECT_EQ(Selected(), 0);
}

TEST_F(PaletteCombo, CommitWithAnIndexTheStoreLacksKeepsTheCurrentPalette) {
  FillStore();
  store.currentGuid = store.palettes[0]->guid;
  FillPaletteCombo(combo, store, L"Default", L"Edit...");
  SendMessageW(combo, CB_SETCURSEL, 1, 0);  // B, index 2
  store.RemoveAt(2);
  SyncPaletteCombo(combo, store, true, nullptr);
  EXPECT_EQ(store.currentGuid, store.palettes[0]->guid);
}

TEST_F(PaletteCombo, OpenListIsWideEnoughForTheLongestName) {
  const wchar_t* longName = L"A palette whose name runs well past the width of its combo box";
  store.AddPalette(Solid(1), longName);
  FillPaletteCombo(combo, store, L"Default", nullptr);
  HDC dc = GetDC(combo);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(combo, WM_GETFONT, 0, 0)));
  SIZE text{};
  GetTextExtentPoint32W(dc, longName, static_cast<int>(wcslen(longName)), &text);
  SelectObject(dc, old);
  ReleaseDC(combo, dc);
  EXPECT_GT(text.cx, 200);  // wider than the combo
  EXPECT_GT(SendMessageW(combo, CB_GETDROPPEDWIDTH, 0, 0), text.cx);
}

TEST_F(PaletteCombo, DeleteFollowsTheEntrysPaletteNotItsText) {
  // A user's palette carrying the built-in one's translated label: two
  // entries that read alike, only the built-in one is kept.
  const wchar_t* label = L"\u041f\u043e \u0443\u043c\u043e\u043b\u0447\u0430\u043d\u0438\u044e";
  store.AddPalette(Solid(1), Name("Default").c_str());
  store.AddPalette(Solid(2), label);
  FillPaletteCombo(combo, store, label, L"Edit...");
  const std::vector<Entry> entries = Entries();
  ASSERT_EQ(entries.size(), 3u);
  for (LRESULT k = 0; k < 3; ++k) {
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(k), 0);
    EXPECT_EQ(PaletteDeletable(combo, store), entries[static_cast<size_t>(k)].data == 1) << k;
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_FALSE(PaletteDeletable(combo, store));
}

TEST(PaletteViewBinding, SetControlGradientCopiesAndRepaintsAndToleratesNoView) {
  RecordingView view;
  CGradient g = Solid(0x445566);
  g.SetMethod(HoldRight);
  SetControlGradient(&view, g);
  EXPECT_EQ(view.shown.GetMethod(), HoldRight);
  EXPECT_EQ(view.shown.ColourAt(0.3), 0x445566u);
  EXPECT_EQ(view.repaints, 1);
  SetControlGradient(nullptr, g);
}

}  // namespace
