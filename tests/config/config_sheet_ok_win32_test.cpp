// OK across the pages: what the sheet leaves in the registry after choices
// made on the General and Video pages in either order.
#include <string>
#include <utility>
#include <vector>

#include "tests/config/config_sheet_fixture_win32.h"

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
