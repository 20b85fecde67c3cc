// The Video page: the palette list with delete and save-as, peg edits
// that reach the task's colours, and the vertical sync box.
#include <string>
#include <vector>

#include "tests/config/config_sheet_fixture_win32.h"

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
  EXPECT_EQ(Mesh(Task()).paletteSize, 1000);
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

TEST_F(ConfigSheetTest, VSyncBoxShowsTheSettingAndAClickLeavesTheChangeToTheKernelThread) {
  GLWindowSettingsBase& gl = *GLWindowSettings::Instance();
  Task().SetVSyncOn(1);
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

TEST_F(ConfigSheetTest, MonitorsChoiceReachesTheTaskAndOkStoresIt) {
  Task().SetMonitors(0);
  Open(1);
  Select(3);
  HWND page = Page();
  HWND combo = GetDlgItem(page, IDC_MONITORS);
  ASSERT_EQ(ComboTexts(combo), (std::vector<std::wstring>{L"Span all monitors", L"Primary only, others black",
                                                          L"Each monitor its own field"}));
  EXPECT_EQ(static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)), 0);
  Choose(page, IDC_MONITORS, 1);
  EXPECT_EQ(Task().EffectiveMonitors(), 1);

  SendMessageW(GetDlgItem(sheet->Handle(), IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(pump->Until([&] { return pump->quitSeen; }));
  EXPECT_EQ(pump->quitCode, 1);
  EXPECT_EQ(SaveSettings(), 1);
  DWORD stored = 7, size = sizeof stored;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Vivarn Screen Saver 2\\Settings", L"Monitors",
                         RRF_RT_REG_DWORD, nullptr, &stored, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(stored, 1u);
  Task().SetMonitors(0);
}

TEST_F(ConfigSheetTest, BatteryChoiceAndClockReachTheTask) {
  Task().SetOnBattery(7);  // no choice offers it: shown as the default
  Task().SetShowClock(false);
  Open(1);
  Select(3);
  HWND page = Page();
  HWND combo = GetDlgItem(page, IDC_ON_BATTERY);
  ASSERT_EQ(ComboTexts(combo), (std::vector<std::wstring>{L"Full speed", L"Half frame rate", L"Black screen"}));
  EXPECT_EQ(static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)), 1);
  Choose(page, IDC_ON_BATTERY, 2);
  EXPECT_EQ(Task().OnBattery, 2u);
  Choose(page, IDC_ON_BATTERY, 0);
  EXPECT_EQ(Task().OnBattery, 0u);
  SendMessageW(GetDlgItem(page, IDC_SHOW_CLOCK), BM_CLICK, 0, 0);
  EXPECT_TRUE(Task().ShowClock);
  EXPECT_TRUE(Task().CurrentLook().showClock);
  SendMessageW(GetDlgItem(page, IDC_SHOW_CLOCK), BM_CLICK, 0, 0);
  EXPECT_FALSE(Task().ShowClock);
  Task().SetOnBattery(1);
}

// Cell sizes 3 and 2 and "Smooth generations" are offered once the preview's
// first frame shows that shaders draw the field, and never on the mesh's path.
TEST_F(ConfigSheetTest, FineCellSizesAndSmoothGenerationsOnlyWhereShadersDraw) {
  TaskInside& inside = Task().Inside();
  inside.drawPath = FieldDrawPath::Unknown;
  Task().SetCellSize(2);  // stored by a run that had shaders
  Task().SetSmoothGenerations(false);
  Open(1);
  Select(3);
  HWND page = Page();
  HWND sizes = GetDlgItem(page, IDC_CELL_SIZE);
  HWND smooth = GetDlgItem(page, IDC_SMOOTH_GENERATIONS);
  EXPECT_EQ(SendMessageW(sizes, CB_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(SendMessageW(sizes, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_FALSE(IsWindowEnabled(smooth));

  inside.drawPath = FieldDrawPath::Shaders;  // the preview's first frame
  ASSERT_TRUE(pump->Until([&] { return SendMessageW(sizes, CB_GETCOUNT, 0, 0) == 7; }));
  EXPECT_EQ(ComboTexts(sizes).back(), L"Smallest");
  EXPECT_EQ(SendMessageW(sizes, CB_GETCURSEL, 0, 0), 6);
  EXPECT_TRUE(IsWindowEnabled(smooth));
  SendMessageW(smooth, BM_CLICK, 0, 0);
  EXPECT_TRUE(Task().SmoothGenerations);

  inside.drawPath = FieldDrawPath::Mesh;
  Open(1);
  Select(3);
  EXPECT_EQ(SendMessageW(GetDlgItem(Page(), IDC_CELL_SIZE), CB_GETCOUNT, 0, 0), 5);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Page(), IDC_SMOOTH_GENERATIONS)));
  inside.drawPath = FieldDrawPath::Unknown;
  Task().SetSmoothGenerations(false);
}
