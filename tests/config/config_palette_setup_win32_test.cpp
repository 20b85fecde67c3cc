// The palette set-up dialog on its own: per-palette edits kept in a working
// copy that OK commits and Cancel drops.
#include <string>
#include <vector>

#include "tests/config/config_sheet_fixture_win32.h"

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
